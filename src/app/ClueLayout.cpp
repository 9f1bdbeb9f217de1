#include "app/ClueLayout.h"

namespace mz {

namespace {

bool IsVowel(QChar c)
{
    static const QString vowels = QStringLiteral("aeiouyąęó");
    return vowels.contains(c);
}

// The syllable pattern: '0' vowel, '1' other, '#' a letter of a digraph; plus
// the "11" sentinel so the rules may look two places ahead.
QString SyllablePattern(const QString& word)
{
    QString lower = word.toLower();
    QString pattern(lower.size(), QLatin1Char('1'));
    for (qsizetype i = 0; i < lower.size(); ++i)
        if (IsVowel(lower[i]))
            pattern[i] = QLatin1Char('0');
    static const char16_t* digraphs[] = {u"ch", u"rz", u"sz", u"cz", u"dz", u"dź", u"dż"};
    for (const char16_t* d : digraphs) {
        const QString digraph = QString::fromUtf16(d);
        for (qsizetype at = lower.indexOf(digraph); at >= 0; at = lower.indexOf(digraph)) {
            lower[at] = lower[at + 1] = QLatin1Char('#');
            pattern[at] = pattern[at + 1] = QLatin1Char('#');
        }
    }
    return pattern + QStringLiteral("11");
}

} // namespace

QString Hyphenate(const QString& word, int limit, int& hyphenPos)
{
    hyphenPos = 0;
    const int L = static_cast<int>(word.size());
    if (L <= 3)
        return word;
    const QString pattern = SyllablePattern(word);
    auto P = [&](int i) { return pattern[i - 1]; };
    const QChar one('1'), zero('0'), hash('#'), hyphen('-');

    QString result;
    QString syllable;
    for (int i = 1; i <= L; ++i) {
        result += word[i - 1];
        if (i <= 2) {
            syllable = pattern.left(i);
            continue;
        }
        if (!syllable.contains(zero) || P(i) == zero) {
            syllable += P(i);
            continue;
        }
        const bool wanted = (P(i) == one && P(i + 1) == zero) || (P(i - 1) == one && P(i) == hash && P(i + 1) == hash)
            || (P(i - 1) == zero && P(i) == hash && P(i + 1) == hash && P(i + 2) == zero)
            || (P(i - 2) == hash && P(i - 1) == hash && P(i) == hash && P(i + 1) == hash);
        if (!wanted)
            continue;
        syllable = QString(P(i));
        const QString rest = pattern.mid(i - 1, L - i + 1);
        if (rest.size() >= 2 && rest.contains(zero))
            result.insert(result.size() - 1, hyphen);
    }

    // Count the hyphens met within the first `limit` places; the chosen one is
    // the last that leaves the hyphen itself within the limit.
    int met = 0;
    for (int j = 1; j <= limit; ++j)
        if (j + met <= result.size() && result[j + met - 1] == hyphen)
            ++met;
    int chosen = 0;
    for (int at = 1; at <= result.size() && at <= limit + met - 1; ++at)
        if (result[at - 1] == hyphen)
            chosen = at;
    QString out;
    for (int i = 1; i <= result.size(); ++i) {
        if (result[i - 1] == hyphen && i != chosen)
            continue;
        if (i == chosen)
            hyphenPos = static_cast<int>(out.size()) + 1;
        out += result[i - 1];
    }
    return out;
}

QString Hyphenate(const QString& word, int limit)
{
    int pos = 0;
    return Hyphenate(word, limit, pos);
}

QString FitClue(const QString& text, const std::function<bool(const QString&)>& fits)
{
    if (fits(text))
        return text;
    const QChar cr(13), space(' ');

    QString fitting = text;
    while (!fitting.isEmpty() && !fits(fitting))
        fitting.chop(1);
    const int k = static_cast<int>(fitting.size());
    if (k == 0)
        return QString();

    QString broken;
    if (fitting[k - 1] == space) {
        broken = text;
        broken[k - 1] = cr;
    } else {
        const int s = static_cast<int>(fitting.lastIndexOf(space)) + 1; // 0 when none
        const QString before = fitting.left(s);
        const int m = k - s;
        qsizetype wordEnd = text.indexOf(space, s);
        if (wordEnd < 0)
            wordEnd = text.size();
        const QString cutWord = text.mid(s, wordEnd - s);
        const QString hyphenated = Hyphenate(cutWord, m);
        const int p = static_cast<int>(hyphenated.indexOf(QLatin1Char('-'))) + 1;
        if (p > 0)
            broken = before + hyphenated.left(p) + cr + hyphenated.mid(p);
        else
            broken = before + cr + cutWord;
        broken += text.mid(wordEnd);
    }
    if (fits(broken))
        return broken;

    while (!broken.isEmpty() && !fits(broken))
        broken.chop(1);
    // At least three characters normally remain for the dots; fewer become
    // as many dots as there is room for.
    const qsizetype dots = std::min<qsizetype>(3, broken.size());
    broken.chop(dots);
    return broken + QString(dots, QLatin1Char('.'));
}

} // namespace mz
