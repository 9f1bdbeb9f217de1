#include "database/WordCheck.h"

#include "core/Cp1250.h"
#include "database/DBBuilder.h"
#include "database/WordSearch.h"
#include "documents/DataAccess.h"

namespace mz {

namespace {

std::string Trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// The first UTF-8 character of `utf8` that CP1250 cannot hold, or empty.
std::string FirstUnencodable(std::string_view utf8)
{
    size_t pos = 0;
    while (pos < utf8.size()) {
        size_t len = 1;
        const auto b = static_cast<unsigned char>(utf8[pos]);
        if (b >= 0xF0)
            len = 4;
        else if (b >= 0xE0)
            len = 3;
        else if (b >= 0xC0)
            len = 2;
        const std::string_view ch = utf8.substr(pos, len);
        bool ok = true;
        Utf8ToCp1250(ch, '?', &ok);
        if (!ok)
            return std::string(ch);
        pos += len;
    }
    return {};
}

} // namespace

TWordCheck CheckWord(std::string_view utf8)
{
    TWordCheck check;
    std::string text(utf8);
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    text = Trimmed(text);
    if (text.empty()) {
        check.Error = "Wpisz hasło.";
        return check;
    }
    const std::string bad = FirstUnencodable(text);
    const std::string word = UpperCp1250(Utf8ToCp1250(text));
    std::string wrong = bad;
    for (size_t i = 0; wrong.empty() && i < word.size(); ++i)
        if (!IsWordLetter(static_cast<unsigned char>(word[i])))
            wrong = Cp1250ToUtf8(word.substr(i, 1));
    if (wrong == " ") {
        check.Error = "Hasło musi być jednym słowem, bez spacji.";
    } else if (!wrong.empty()) {
        check.Error =
            "Hasło może składać się tylko z liter A–Z oraz Ą Ć Ę Ł Ń Ó Ś Ź Ż; znak „" + wrong + "” do nich nie należy.";
    } else if (word.size() < BuildMinWordLength || word.size() > BuildMaxWordLength) {
        check.Error = "Hasło musi mieć od " + std::to_string(BuildMinWordLength) + " do "
            + std::to_string(BuildMaxWordLength) + " liter (wpisano " + std::to_string(word.size()) + ").";
    } else {
        check.Word = word;
    }
    return check;
}

bool ClueContainsAnswer(std::string_view clue, std::string_view word)
{
    return !word.empty() && UpperCp1250(clue).find(word) != std::string::npos;
}

TClueCheck CheckClue(std::string_view utf8, std::string_view word)
{
    TClueCheck check;
    std::string text(utf8);
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    text = Trimmed(text);
    const std::string bad = FirstUnencodable(text);
    const std::string clue = Utf8ToCp1250(text);
    if (text.empty())
        check.Error = "Objaśnienie nie może być puste.";
    else if (!bad.empty())
        check.Error = "Objaśnienie zawiera znak „" + bad + "”, którego baza haseł nie może zapisać.";
    else if (text.front() == '@')
        check.Error = "Objaśnienie nie może zaczynać się od znaku @ (tak lista haseł oznacza plik dźwięku).";
    else if (clue.size() > static_cast<size_t>(MaxRecordData))
        check.Error = "Objaśnienie może mieć najwyżej " + std::to_string(MaxRecordData) + " znaków (wpisano "
            + std::to_string(clue.size()) + ").";
    if (!check.Error.empty())
        return check;
    check.Clue = clue;
    if (ClueContainsAnswer(clue, word))
        check.Warning = "Objaśnienie zawiera odgadywane hasło " + Cp1250ToUtf8(word) + ".";
    return check;
}

} // namespace mz
