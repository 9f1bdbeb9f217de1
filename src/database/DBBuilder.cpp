#include "DBBuilder.h"

#include "DB.h"
#include "SourceLines.h"
#include "WordSearch.h"
#include "core/Cp1250.h"
#include "core/Error.h"
#include "core/FileNames.h"
#include "core/SoundNames.h"
#include "core/SystemError.h"
#include "core/TextLines.h"
#include "documents/DataAccess.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <istream>

namespace mz {

namespace {

// Code points of ISO-8859-2 bytes 0xA0..0xFF (below that it equals Unicode).
constexpr std::array<char16_t, 96> Latin2Upper = {
    0x00A0, 0x0104, 0x02D8, 0x0141, 0x00A4, 0x013D, 0x015A, 0x00A7, 0x00A8, 0x0160, 0x015E, 0x0164, 0x0179, 0x00AD,
    0x017D, 0x017B, 0x00B0, 0x0105, 0x02DB, 0x0142, 0x00B4, 0x013E, 0x015B, 0x02C7, 0x00B8, 0x0161, 0x015F, 0x0165,
    0x017A, 0x02DD, 0x017E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9,
    0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A,
    0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3,
    0x00F4, 0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

std::string Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> Split(std::string_view text, char separator)
{
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        fields.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return fields;
        start = end + 1;
    }
}

} // namespace

bool IsOffensiveNote(std::string_view note)
{
    return note.find("wulg") != std::string_view::npos || note.find("obraź") != std::string_view::npos
        || note.find("obelż") != std::string_view::npos;
}

TThesaurusTerm ParseThesaurusTerm(std::string_view utf8)
{
    TThesaurusTerm term;
    std::string text;
    size_t pos = 0;
    while (pos < utf8.size()) {
        const size_t open = utf8.find('(', pos);
        text += utf8.substr(pos, open == std::string_view::npos ? std::string_view::npos : open - pos);
        if (open == std::string_view::npos)
            break;
        const size_t close = utf8.find(')', open);
        const std::string_view note =
            utf8.substr(open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1);
        if (note.find("pojęcie nadrzędne") != std::string_view::npos)
            term.Hypernym = true;
        else if (note.find("pojęcie podrzędne") != std::string_view::npos
                 || note.find("antonim") != std::string_view::npos)
            term.NotSynonym = true;
        if (IsOffensiveNote(note))
            term.Offensive = true;
        else if (note.find("pojęcie") == std::string_view::npos && note.find("antonim") == std::string_view::npos)
            term.UsageNote = true;
        pos = close == std::string_view::npos ? utf8.size() : close + 1;
    }
    // Collapse the spaces a removed note leaves behind.
    std::string collapsed;
    for (const char c : text) {
        if (c == ' ' && (collapsed.empty() || collapsed.back() == ' '))
            continue;
        collapsed += c;
    }
    term.Text = Trim(collapsed);
    return term;
}

namespace {

// A clue gives the answer away when it contains it, when one of its words
// begins with the answer's first four letters, or when the answer contains
// one of its words of four letters or more.
bool GivesAway(const std::string& word, const std::string& clue)
{
    const std::string upper = UpperCp1250(clue);
    if (upper.find(word) != std::string::npos)
        return true;
    const size_t prefix = std::min<size_t>(4, word.size());
    size_t start = 0;
    while (start < upper.size()) {
        size_t end = start;
        while (end < upper.size() && IsWordLetter(static_cast<unsigned char>(upper[end])))
            ++end;
        if (end - start >= prefix && upper.compare(start, prefix, word, 0, prefix) == 0)
            return true;
        // The answer contains a word of four letters or more of the clue
        // (ARCHANIOŁ "anioł", DOPÓKI "póki").
        if (end - start >= 4 && word.find(upper.substr(start, end - start)) != std::string::npos)
            return true;
        start = end + 1;
    }
    return false;
}

// The start of a text for a message: at most `limit` bytes, cut at a whole
// UTF-8 character, "…" marking the cut.
std::string Excerpt(std::string_view utf8, size_t limit = 40)
{
    if (utf8.size() <= limit)
        return std::string(utf8);
    size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(utf8.substr(0, cut)) + "…";
}

// Broken UTF-8 named as such, with the byte where it breaks.
void CheckUtf8(const std::string& line, const std::string& name, int lineNo)
{
    size_t bad = 0;
    if (!IsValidUtf8(line, &bad))
        throw EDBInvalidOperation(
            LineMessage(name, lineNo,
                        "niepoprawny zapis UTF-8 w bajcie " + std::to_string(bad + 1) + " (plik nie jest w UTF-8?)"));
}

void CheckRecordLength(const std::string& text, const char* what, const std::string& word)
{
    if (text.size() > static_cast<size_t>(MaxRecordData))
        throw EDBInvalidOperation(std::string(what) + " hasła " + Cp1250ToUtf8(word) + " ma "
                                  + std::to_string(text.size()) + " bajtów, a rekord bazy mieści najwyżej "
                                  + std::to_string(MaxRecordData));
}

} // namespace

std::filesystem::path Utf8Path(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Latin2ToUtf8(std::string_view latin2)
{
    std::string cp1250;
    std::string utf8;
    for (const char ch : latin2) {
        const auto b = static_cast<unsigned char>(ch);
        const char32_t cp = b < 0xA0 ? b : Latin2Upper[b - 0xA0];
        if (cp < 0x80) {
            utf8 += static_cast<char>(cp);
        } else if (cp < 0x800) {
            utf8 += static_cast<char>(0xC0 | (cp >> 6));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (cp >> 12));
            utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return utf8;
}

std::string DatabaseWord(const std::string& utf8)
{
    bool ok = true;
    const std::string word = UpperCp1250(Utf8ToCp1250(Trim(utf8), '?', &ok));
    if (!ok || word.size() < BuildMinWordLength || word.size() > BuildMaxWordLength)
        return {};
    for (const char c : word)
        if (!IsWordLetter(static_cast<unsigned char>(c)))
            return {};
    return word;
}

std::string ThesaurusClue(const std::string& word, const std::vector<std::string>& terms,
                          const std::function<bool(const std::string&)>& leaveOut)
{
    TClueRules rules;
    rules.LeaveOut = leaveOut;
    return ThesaurusClue(word, terms, rules);
}

namespace {

// Whether a CP1250 text begins with a capital letter: a proper name.
bool IsProperName(const std::string& text)
{
    if (text.empty())
        return false;
    const auto c = static_cast<unsigned char>(text.front());
    return IsWordLetter(c) && Cp1250ToUpper(c) == c && !(c >= '0' && c <= '9');
}

} // namespace

std::string ThesaurusClue(const std::string& word, const std::vector<std::string>& terms, const TClueRules& rules)
{
    TClueRepair unused;
    TClueRepair& counts = rules.Counts ? *rules.Counts : unused;
    std::vector<std::string> synonyms;
    std::string hypernym;
    bool hypernymRefused = false;
    for (const auto& raw : terms) {
        const TThesaurusTerm term = ParseThesaurusTerm(raw);
        if (term.Offensive || term.NotSynonym || term.Text.empty())
            continue;
        bool ok = true;
        const std::string text = Utf8ToCp1250(term.Text, '?', &ok);
        if (!ok)
            continue;
        const std::string key = UpperCp1250(text);
        if (rules.LeaveOut && rules.LeaveOut(key))
            continue;
        if (GivesAway(word, text)) {
            // The answer itself heads many of its senses: no repair.
            counts.StemTerms += key != word;
            continue;
        }
        if (rules.Marked && rules.Marked(key)) {
            ++counts.RegisterTerms;
            continue;
        }
        if (rules.Overridden && rules.Overridden(word, key)) {
            ++counts.OverrideTerms;
            continue;
        }
        if (term.Hypernym) {
            if (!hypernym.empty() || text.size() + 8 > ThesaurusClueLength)
                continue;
            // The direction of a broader term is certain only where the
            // thesaurus says it both ways; a name or a marked term is no kind.
            if (rules.Confirmed && (term.UsageNote || IsProperName(text) || !rules.Confirmed(word, key)))
                hypernymRefused = true;
            else
                hypernym = "rodzaj: " + text;
        } else if (std::find(synonyms.begin(), synonyms.end(), text) == synonyms.end()) {
            synonyms.push_back(text);
        }
    }
    std::string clue;
    int used = 0;
    for (const auto& synonym : synonyms) {
        if (used == 3)
            break;
        const std::string longer = clue.empty() ? synonym : clue + ", " + synonym;
        if (longer.size() <= ThesaurusClueLength) {
            clue = longer;
            ++used;
        }
    }
    // One term of one or two letters says too little ("ja" for EGO).
    if (!clue.empty() && clue.size() < 3) {
        ++counts.ShortClues;
        clue.clear();
    }
    if (clue.empty() && hypernym.empty() && hypernymRefused)
        ++counts.Hypernyms;
    return clue.empty() ? hypernym : clue;
}

TDBWord& TDBBuilder::Entry(const std::string& word)
{
    const auto [it, added] = Positions.try_emplace(word, Words.size());
    if (added)
        Words.push_back(TDBWord{word, {}, {}});
    return Words[it->second];
}

void TDBBuilder::AddExplanation(TDBWord& entry, const std::string& text)
{
    const auto word = static_cast<uint64_t>(&entry - Words.data());
    const uint64_t key = std::hash<std::string>{}(text) ^ (word * 0x9E3779B97F4A7C15ULL);
    const auto [first, last] = ClueIndex.equal_range(key);
    for (auto it = first; it != last; ++it)
        if (it->second >> 32 == word && entry.Explanations[it->second & 0xFFFFFFFFu] == text)
            return;
    ClueIndex.emplace(key, word << 32 | entry.Explanations.size());
    entry.Explanations.push_back(text);
}

bool TSourceLines::Next(std::string& line)
{
    try {
        const bool more = Lines.Next(line);
        LineNo = Lines.LineNo();
        return more;
    } catch (const ETextLineError& e) {
        throw EDBInvalidOperation(e.what());
    }
}

void TDBBuilder::AddThesaurus(std::istream& in, const std::string& name)
{
    AddThesaurusEntries(ReadThesaurus(in, name));
}

std::vector<TThesaurusEntry> ReadThesaurus(std::istream& in, const std::string& name)
{
    std::string line;
    TSourceLines reader(in, name);
    const int& lineNo = reader.LineNo;
    std::vector<TThesaurusEntry> entries;
    if (!reader.Next(line))
        throw EDBInvalidOperation(name + ": pusty plik tezaurusa");
    const std::string encoding = AsciiLower(Trim(line));
    const bool latin2 = encoding == "iso8859-2" || encoding == "iso-8859-2";
    if (!latin2 && encoding != "utf-8")
        throw EDBInvalidOperation(LineMessage(name, lineNo, "nieobsługiwane kodowanie " + Excerpt(Trim(line))));
    auto text = [&](const std::string& raw) {
        if (latin2)
            return Latin2ToUtf8(raw);
        CheckUtf8(raw, name, lineNo);
        return raw;
    };

    size_t words = 0;
    while (reader.Next(line)) {
        if (line.empty())
            continue;
        const auto head = Split(text(line), '|');
        int senses = -1;
        if (head.size() == 2) {
            try {
                size_t used = 0;
                senses = std::stoi(head[1], &used);
                if (used != head[1].size())
                    senses = -1;
            } catch (const std::exception&) {
                senses = -1;
            }
        }
        if (senses < 0)
            throw EDBInvalidOperation(LineMessage(name, lineNo, "oczekiwano \"hasło|liczba znaczeń\""));
        // Every entry is kept, phrases too: the marks of one headword are found
        // in the senses of others, and a marked phrase never serves in a clue.
        TThesaurusEntry& entry = entries.emplace_back();
        entry.Word = head[0];
        words += DatabaseWord(head[0]).empty() ? 0 : 1;
        for (int i = 0; i < senses; ++i) {
            if (!reader.Next(line))
                throw EDBInvalidOperation(LineMessage(name, lineNo, "brak wierszy znaczeń hasła"));
            auto fields = Split(text(line), '|');
            TThesaurusEntry::TSense& sense = entry.Senses.emplace_back();
            sense.KindMarked = IsOffensiveNote(fields[0]);
            sense.Terms.assign(fields.begin() + 1, fields.end());
        }
    }
    if (words == 0)
        throw EDBInvalidOperation(name + ": żadne hasło tezaurusa nie nadaje się do bazy");
    return entries;
}

// Leaves out the words the thesaurus marks vulgar or offensive in every sense
// and the words of the stop lists, the marked meanings of the other words,
// the meanings of starred stop-list words, and any term of a clue that is
// itself such a word or marked phrase. Counts what it leaves out.
void TDBBuilder::AddThesaurusEntries(const std::vector<TThesaurusEntry>& entries)
{
    const TThesaurusMarks marks(entries);
    const auto offensive = [&](const std::string& key) {
        return marks.MarkedInAllSenses(key) || StopList.Contains(key);
    };
    // Every headword's narrower terms, to confirm a broader term's direction.
    std::unordered_map<std::string, std::set<std::string>> narrower;
    for (const auto& entry : entries) {
        const std::string head = TThesaurusMarks::TermKey(entry.Word);
        for (const auto& sense : entry.Senses)
            for (const auto& raw : sense.Terms)
                if (raw.find("(pojęcie podrzędne)") != std::string::npos)
                    narrower[head].insert(TThesaurusMarks::TermKey(ParseThesaurusTerm(raw).Text));
    }
    // A word the thesaurus marks in some senses (and not in all, which leaves
    // it out) keeps that mark as its register unless a list says otherwise.
    // So does every term the thesaurus marks somewhere, as a word and as a
    // clue term ("szczyny" in another sense of MOCZ).
    for (const auto& entry : entries)
        for (const auto& sense : entry.Senses)
            for (const auto& raw : sense.Terms)
                if (const TThesaurusTerm term = ParseThesaurusTerm(raw); term.Offensive)
                    MarkedSenses.try_emplace(TThesaurusMarks::TermKey(term.Text),
                                             raw.find("wulg") != std::string::npos ? rgCrude : rgInsult);
    for (const auto& entry : entries) {
        const std::string word = DatabaseWord(entry.Word);
        if (word.empty() || marks.MarkedInAllSenses(word))
            continue;
        for (const auto& sense : entry.Senses) {
            if (!sense.KindMarked && !marks.SenseMarked(entry.Word, sense))
                continue;
            bool insult = false;
            for (const auto& raw : sense.Terms)
                insult = insult || raw.find("obraź") != std::string::npos || raw.find("obelż") != std::string::npos;
            MarkedSenses.try_emplace(word, insult ? rgInsult : rgCrude);
        }
    }
    TClueRules rules;
    rules.LeaveOut = offensive;
    rules.Marked = [&](const std::string& key) {
        if (RegisterOf(key) != rgOrdinary)
            return true;
        for (const auto& part : Split(key, ' '))
            if (part != key && RegisterOf(part) != rgOrdinary)
                return true;
        return false;
    };
    rules.Overridden = [&](const std::string& word, const std::string& term) {
        return Overrides.count({word, term}) != 0;
    };
    rules.Confirmed = [&](const std::string& word, const std::string& hypernym) {
        const auto found = narrower.find(hypernym);
        return found != narrower.end() && found->second.count(word) != 0;
    };
    rules.Counts = &Repairs;
    // Distinct clues per word: as the thesaurus alone gives them, and as kept.
    std::unordered_map<std::string, std::pair<std::set<std::string>, std::set<std::string>>> counted;
    for (const auto& entry : entries) {
        const std::string word = DatabaseWord(entry.Word);
        if (word.empty())
            continue;
        const bool marked = marks.MarkedInAllSenses(word);
        const bool pejorative = RegisterOf(word) == rgPejorative;
        const bool leftOut = marked || StopList.Contains(word) || pejorative;
        auto& [before, after] = counted[word];
        for (const auto& sense : entry.Senses) {
            if (sense.KindMarked)
                continue;
            const std::string plain = ThesaurusClue(word, sense.Terms);
            if (!plain.empty())
                before.insert(plain);
            if (leftOut || marks.SenseMarked(entry.Word, sense) || StopList.NamesStarredMeaning(sense.Terms))
                continue;
            const std::string clue = ThesaurusClue(word, sense.Terms, rules);
            if (!clue.empty()) {
                after.insert(clue);
                AddExplanation(Entry(word), clue);
            }
        }
        // A word an earlier list gave keeps that list's clues.
        if (leftOut && !before.empty() && !Positions.count(word) && LeftOut.insert(word).second)
            ++(marked ? Report.MarkedWords : pejorative ? Report.PejorativeWords : Report.StopListWords);
    }
    for (const auto& [word, clues] : counted) {
        const auto& [before, after] = clues;
        if (LeftOut.count(word)) {
            Report.RemovedWordClues += static_cast<int32_t>(before.size());
            continue;
        }
        for (const auto& clue : before)
            Report.LostClues += after.count(clue) ? 0 : 1;
        Report.CluelessWords += !before.empty() && after.empty() && !Positions.count(word);
        for (const auto& clue : after)
            Report.RewrittenClues += before.count(clue) ? 0 : 1;
    }
}

TRegister TDBBuilder::RegisterOf(const std::string& key) const
{
    if (const auto listed = Listed.find(key); listed != Listed.end())
        return listed->second;
    if (const auto marked = MarkedSenses.find(key); marked != MarkedSenses.end())
        return marked->second;
    return rgOrdinary;
}

namespace {

// Each line of a reviewed list ("word<TAB>…<TAB>reason", UTF-8, '#' comments)
// as its tab-separated fields, with the line's number for messages.
template <typename F> void ForEachListLine(std::istream& in, const std::string& name, F&& take)
{
    std::string line;
    TTextLines reader(in, name);
    while (reader.Next(line)) {
        const int lineNo = reader.LineNo();
        if (lineNo == 1 && line.starts_with("\xEF\xBB\xBF"))
            line.erase(0, 3);
        if (Trim(line).empty() || line.front() == '#')
            continue;
        CheckUtf8(line, name, lineNo);
        take(Split(line, '\t'), lineNo);
    }
}

} // namespace

void TDBBuilder::AddRegisterList(std::istream& in, const std::string& name)
{
    ForEachListLine(in, name, [&](const auto& fields, int lineNo) {
        TRegister reg = rgOrdinary;
        if (fields.size() < 3 || !ParseRegister(Trim(fields[1]), reg) || Trim(fields[2]).empty())
            throw EDBInvalidOperation(
                LineMessage(name, lineNo,
                            "oczekiwano \"słowo<TAB>rejestr<TAB>powód\" (rejestr: zwykłe, wulgarne, seksualne, "
                            "pejoratywne, obraźliwe lub narkotyki)"));
        bool ok = true;
        const std::string key = UpperCp1250(Utf8ToCp1250(Trim(fields[0]), '?', &ok));
        if (!ok || key.empty())
            throw EDBInvalidOperation(
                LineMessage(name, lineNo, "znak spoza strony kodowej Windows-1250 w \"" + Excerpt(fields[0]) + "\""));
        Listed[key] = reg;
    });
}

void TDBBuilder::AddOverrides(std::istream& in, const std::string& name)
{
    ForEachListLine(in, name, [&](const auto& fields, int lineNo) {
        bool ok = true;
        const std::string word = fields.size() >= 3 ? DatabaseWord(fields[0]) : std::string();
        const std::string term = fields.size() >= 3 ? UpperCp1250(Utf8ToCp1250(Trim(fields[1]), '?', &ok)) : "";
        if (word.empty() || term.empty() || !ok || Trim(fields[2]).empty())
            throw EDBInvalidOperation(
                LineMessage(name, lineNo, "oczekiwano \"HASŁO<TAB>wyraz objaśnienia<TAB>powód\""));
        Overrides.insert({word, term});
    });
}

void TDBBuilder::AddTsv(std::istream& in, const std::string& name, std::vector<std::string>& warnings)
{
    AddWordList(in, name, warnings, false);
}

void TDBBuilder::AddBasic(std::istream& in, const std::string& name, std::vector<std::string>& warnings)
{
    AddWordList(in, name, warnings, true);
}

void TDBBuilder::AddWordList(std::istream& in, const std::string& name, std::vector<std::string>& warnings, bool basic)
{
    std::string line;
    TSourceLines reader(in, name);
    const int& lineNo = reader.LineNo;
    size_t words = 0;
    while (reader.Next(line)) {
        if (lineNo == 1 && line.starts_with("\xEF\xBB\xBF"))
            line.erase(0, 3);
        if (Trim(line).empty() || line.front() == '#')
            continue;
        CheckUtf8(line, name, lineNo);
        const auto fields = Split(line, '\t');
        const std::string word = DatabaseWord(fields[0]);
        if (word.empty()) {
            warnings.push_back(LineMessage(name, lineNo,
                                           "pominięto \"" + Excerpt(Trim(fields[0]))
                                               + "\": hasło musi mieć od 2 do 20 liter A-Z lub polskich"));
            continue;
        }
        ++words;
        const bool pejorative = RegisterOf(word) == rgPejorative;
        if (StopList.Contains(word) || pejorative) {
            if (LeftOut.insert(word).second)
                ++(pejorative ? Report.PejorativeWords : Report.StopListWords);
            for (size_t i = 1; i < fields.size(); ++i)
                Report.RemovedWordClues += !Trim(fields[i]).empty() && Trim(fields[i]).front() != '@';
            continue;
        }
        TDBWord& entry = Entry(word);
        if (basic)
            BasicWords.insert(word);
        for (size_t i = 1; i < fields.size(); ++i) {
            const std::string field = Trim(fields[i]);
            if (field.empty())
                continue;
            bool ok = true;
            const bool sound = field.front() == '@';
            const std::string converted = Utf8ToCp1250(sound ? Trim(field.substr(1)) : field, '?', &ok);
            if (!ok)
                throw EDBInvalidOperation(
                    LineMessage(name, lineNo, "znak spoza strony kodowej Windows-1250 w \"" + Excerpt(field) + "\""));
            if (!sound) {
                AddExplanation(entry, converted);
                if (basic) {
                    const auto index = static_cast<uint64_t>(&entry - Words.data());
                    const auto at = std::find(entry.Explanations.begin(), entry.Explanations.end(), converted);
                    BasicClues.insert(index << 32 | static_cast<uint64_t>(at - entry.Explanations.begin()));
                }
            } else if (!IsPlainSoundName(converted))
                warnings.push_back(LineMessage(name, lineNo,
                                               "pominięto dźwięk \"" + Excerpt(field)
                                                   + "\": podaj samą nazwę pliku z katalogu dźwięków"));
            else if (entry.Audio.empty())
                entry.Audio = converted;
        }
    }
    if (lineNo == 0)
        throw EDBInvalidOperation(name + ": pusty plik");
    if (words == 0)
        throw EDBInvalidOperation(name + ": żaden wiersz nie zawiera poprawnego hasła");
}

int TDBBuilder::AssignSounds(const std::filesystem::path& dir)
{
    int assigned = 0;
    for (auto& entry : Words) {
        if (!entry.Audio.empty())
            continue;
        for (const char* extension : {".wav", ".mp3", ".ogg"}) {
            std::error_code ec;
            const auto file = dir / Utf8Path(Cp1250ToUtf8(entry.PWord) + extension);
            if (std::filesystem::is_regular_file(file, ec)) {
                entry.Audio = entry.PWord + extension;
                ++assigned;
                break;
            }
        }
    }
    return assigned;
}

double TDBBuilder::ClueCommonness(const std::string& clue) const
{
    std::string_view text = clue;
    if (text.starts_with("rodzaj: "))
        text.remove_prefix(8);
    double sum = 0;
    int terms = 0;
    for (const auto& term : Split(text, ',')) {
        const std::string key = UpperCp1250(Trim(term));
        double termScore = 0;
        int words = 0;
        for (const auto& part : Split(key, ' ')) {
            if (part.size() < 3 && part != key)
                continue;
            termScore += BasicWords.count(part) ? 100 : Commonness.Score(part);
            ++words;
        }
        sum += words ? termScore / words : 0;
        ++terms;
    }
    return terms ? sum / terms : 0;
}

std::vector<TDBWord> TDBBuilder::Result() const
{
    std::vector<TDBWord> result;
    for (size_t index = 0; index < Words.size(); ++index) {
        const TDBWord& entry = Words[index];
        const TRegister reg = RegisterOf(entry.PWord);
        if (entry.Explanations.empty() || StopList.Contains(entry.PWord) || reg == rgPejorative)
            continue;
        TDBWord& word = result.emplace_back(entry);
        word.Register = reg;
        if (!HasCommonness && BasicClues.empty())
            continue;
        if (HasCommonness)
            word.Score = BasicWords.count(entry.PWord) ? 100 : Commonness.Score(entry.PWord);
        // The basic vocabulary's clues first, then from the most common terms
        // to the rarest, equal ones in their order.
        std::vector<std::pair<double, size_t>> order;
        for (size_t clue = 0; clue < entry.Explanations.size(); ++clue) {
            const bool basic = BasicClues.count(static_cast<uint64_t>(index) << 32 | clue) != 0;
            order.emplace_back(basic ? 1000.0 : HasCommonness ? ClueCommonness(entry.Explanations[clue]) : 0.0, clue);
        }
        std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        for (size_t i = 0; i < order.size(); ++i)
            word.Explanations[i] = entry.Explanations[order[i].second];
    }
    return result;
}

void WriteDBFile(const std::string& fileName, int32_t edition, const std::vector<TDBWord>& words)
{
    for (const auto& word : words) {
        CheckRecordLength(word.PWord, "Tekst", word.PWord);
        for (const auto& explanation : word.Explanations)
            CheckRecordLength(explanation, "Objaśnienie", word.PWord);
        CheckRecordLength(word.Audio + "\r\n", "Nazwa pliku dźwięku", word.PWord);
        if (!word.Audio.empty() && !IsPlainSoundName(word.Audio))
            throw EDBInvalidOperation("Nazwa pliku dźwięku hasła " + Cp1250ToUtf8(word.PWord)
                                      + " nie jest samą nazwą pliku");
    }
    TRecordHeader header = MakeRecordHeader("Mirakolnik Zodevidar - baza hasel");
    const auto value = static_cast<uint32_t>(edition);
    for (int i = 0; i < 4; ++i)
        header[60 + i] = static_cast<uint8_t>(value >> (8 * i));
    WriteRecordFile(fileName, header, [&](TDataAccess& out) {
        for (const auto& word : words) {
            out.WriteRecord(DBRecWord, word.PWord);
            if (word.Score >= 0)
                out.WriteRecord(DBRecScore, std::to_string(word.Score));
            if (word.Register != rgOrdinary)
                out.WriteRecord(DBRecRegister, Utf8ToCp1250(RegisterKey(word.Register)));
            for (const auto& explanation : word.Explanations)
                out.WriteRecord(DBRecExplanation, explanation);
            if (!word.Audio.empty())
                out.WriteRecord(DBRecAudio, word.Audio + "\r\n");
        }
    });
}

} // namespace mz
