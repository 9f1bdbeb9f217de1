#include "TestFiles.h"

#include "core/Cp1250.h"
#include "documents/CrossSolution.h"
#include "documents/Ipuz.h"
#include "documents/Json.h"

#include <gtest/gtest.h>

using namespace mz;
using namespace mz::test;

namespace {

class Ipuz : public TTempDirTest { };

// K O T Y     across KOTY (1) and SOKI (3), down KAS (1) and YSI (2)
// A * * S
// S O K I
TCrossTXT Crossword()
{
    TCrossTXT doc = Grid(4, 3, "K    **     ");
    doc.FileName = "/x/K_0003.krz";
    doc.AddExpl({1, 1, Utf8ToCp1250("Mruczą & śpią"), "koty.wav", true, "KOTY"});
    doc.AddExpl({1, 3, "Napoje", "", true, "SOKI"});
    doc.AddExpl({1, 1, Utf8ToCp1250("Dawne pieniądze"), "", false, "KAS"});
    doc.AddExpl({4, 1, Utf8ToCp1250("Młode psy"), "", false, "YSI"});
    doc.SetPhrase({"KOS", {{1, 1}, {2, 1}, {4, 2}}});
    doc.Modified = false;
    return doc;
}

TCrossTXT Read(const std::string& json, const std::string& name = "p.ipuz")
{
    TCrossTXT doc;
    doc.LoadFromData(json, name);
    return doc;
}

// A crossword as another program writes it: conventional numbering (an
// across and a down word share number 1), lower-case letters, an omitted
// cell, markup in a clue, no cell lists.
const char* Foreign = R"({
 "version": "http://ipuz.org/v2", "kind": ["http://ipuz.org/crossword#1"],
 "dimensions": {"width": 4, "height": 3},
 "puzzle": [[1, 2, {"cell": 3}, "#"], [4, 0, 0, null], ["0", "#", 5, "#"]],
 "solution": [["ż", "a", "k", "#"], ["o", "s", "a", null], ["ł", "#", "s", "#"]],
 "clues": {"Across": [[1, "Ptak <i>czarny</i>"], [4, "Owad"]],
           "Down": [[1, "Kolor"], {"number": 2, "clue": "Zwierz &amp; co"}, [3, "Kosa bez o"]]}
})";

} // namespace

TEST_F(Ipuz, ExportWritesGridNumbersSolutionLettersCluesAndExtensions)
{
    const char* expected = R"({
  "version": "http://ipuz.org/v2",
  "kind": ["http://ipuz.org/crossword#1"],
  "origin": "Mirakolnik Zodevidar",
  "title": "K_0003",
  "dimensions": {"width": 4, "height": 3},
  "block": "#",
  "empty": "0",
  "puzzle": [
    [1, 0, 0, 2],
    [0, "#", "#", 0],
    [3, 0, 0, 0]
  ],
  "solution": [
    ["K", "O", "T", "Y"],
    ["A", "#", "#", "S"],
    ["S", "O", "K", "I"]
  ],
  "saved": [
    ["K", 0, 0, 0],
    [0, "#", "#", 0],
    [0, 0, 0, 0]
  ],
  "clues": {
    "Across": [
      {"number": 1, "clue": "Mruczą &amp; śpią", "cells": [[1, 1], [2, 1], [3, 1], [4, 1]], "answer": "KOTY"},
      {"number": 3, "clue": "Napoje", "cells": [[1, 3], [2, 3], [3, 3], [4, 3]], "answer": "SOKI"}
    ],
    "Down": [
      {"number": 1, "clue": "Dawne pieniądze", "cells": [[1, 1], [1, 2], [1, 3]], "answer": "KAS"},
      {"number": 2, "clue": "Młode psy", "cells": [[4, 1], [4, 2], [4, 3]], "answer": "YSI"}
    ]
  },
  "pl.mirakolnik:naglowki": {"Across": "Poziomo", "Down": "Pionowo"},
  "pl.mirakolnik:audio": {"Across:1": "koty.wav"},
  "pl.mirakolnik:rozwiazanie": {
    "phrase": "KOS",
    "cells": [[1, 1], [2, 1], [4, 2]]
  }
}
)";
    EXPECT_EQ(IpuzText(Crossword()), expected);

    const auto name = PathOf("k.ipuz");
    ExportAsIpuz(Crossword(), name);
    EXPECT_EQ(ReadBytes(name), expected);
}

TEST_F(Ipuz, WithoutEveryAnswerThereIsNoSolutionGridButTheKnownAnswersStay)
{
    TCrossTXT doc = Crossword();
    TExpl expl = doc.GetExpl(4);
    expl.Answer.clear();
    doc.SetExpl(4, expl);
    const std::string text = IpuzText(doc);
    EXPECT_EQ(text.find("\"solution\""), std::string::npos);
    EXPECT_NE(text.find("\"answer\": \"KAS\""), std::string::npos);
    // Read back by number, the across clue first: KOTY, KAS, YSI, SOKI.
    const TCrossTXT back = Read(text);
    EXPECT_EQ(back.GetExpl(2).Answer, "KAS");
    EXPECT_EQ(back.GetExpl(3).Answer, "");
}

TEST_F(Ipuz, ExportAndImportKeepGridLettersNumbersCluesAnswersSoundsAndThePhrase)
{
    const TCrossTXT doc = Crossword();
    const auto name = PathOf("K_0003.IPUZ");
    ExportAsIpuz(doc, name);
    TCrossTXT back;
    back.Modified = true;
    back.LoadFromFile(name);
    EXPECT_FALSE(back.Modified);
    EXPECT_EQ(back.FileName, name);
    ASSERT_EQ(back.ColCount(), 4);
    ASSERT_EQ(back.RowCount(), 3);
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 4; ++c)
            EXPECT_EQ(back.GetCell(c, r), doc.GetCell(c, r)) << c << "," << r;
    // The clues come back in the order of their numbers, the across clue of a number first.
    ASSERT_EQ(back.ExplCount(), 4);
    const int from[] = {1, 3, 4, 2};
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(back.GetExpl(n), doc.GetExpl(from[n - 1])) << n;
    EXPECT_EQ(back.Phrase(), doc.Phrase());
}

// Every written clue stands at a cell carrying its number; a word that
// starts on a block has no such cell. Sounds of files from earlier versions,
// keyed by the number alone, are still found.
TEST_F(Ipuz, EveryClueNumberStandsInACellAndOldSoundKeysAreRead)
{
    TCrossTXT doc = Crossword();
    doc.AddExpl({2, 2, "Na zaczernieniu", "", false, ""});
    const std::string text = IpuzText(doc);
    EXPECT_EQ(text, IpuzText(Crossword()));

    const TCrossTXT old = Read(R"({"kind": ["http://ipuz.org/crossword#1"], "dimensions": {"width": 4, "height": 3},
        "puzzle": [[1, 0, 0, 2], [0, 0, 0, 0], [0, 0, 0, 0]], "pl.mirakolnik:audio": {"2": "b.wav"},
        "clues": {"Down:Pionowo": [{"number": 1, "clue": "a"}, {"number": 2, "clue": "b"}]}})");
    EXPECT_EQ(old.GetExpl(1).Audio, "");
    EXPECT_EQ(old.GetExpl(2).Audio, "b.wav");
}

TEST_F(Ipuz, AForeignCrosswordGetsItsCluesInNumberOrderAtTheirNumberedCells)
{
    const TCrossTXT doc = Read(Foreign);
    ASSERT_EQ(doc.ColCount(), 4);
    std::string grid;
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 4; ++c)
            grid.push_back(char(doc.GetCell(c, r)));
    // The omitted cell is a block; no letters were typed.
    EXPECT_EQ(grid, "   *   * * *");
    struct TWant {
        int Col, Row;
        bool Horizontal;
        const char* Clue;
        const char* Answer;
    } want[] = {{1, 1, true, "Ptak czarny", "ŻAK"},
                {1, 1, false, "Kolor", "ŻOŁ"},
                {2, 1, false, "Zwierz & co", "AS"},
                {3, 1, false, "Kosa bez o", "KAS"},
                {1, 2, true, "Owad", "OSA"}};
    ASSERT_EQ(doc.ExplCount(), 5);
    for (int n = 1; n <= 5; ++n) {
        const TExpl expl = doc.GetExpl(n);
        const TWant& w = want[n - 1];
        EXPECT_EQ(std::make_tuple(expl.Col, expl.Row, expl.Horizontal), std::make_tuple(w.Col, w.Row, w.Horizontal))
            << n;
        EXPECT_EQ(expl.Explanation, Utf8ToCp1250(w.Clue)) << n;
        EXPECT_EQ(expl.Answer, Utf8ToCp1250(w.Answer)) << n;
    }
}

TEST_F(Ipuz, CellListsCountingFromZeroAreRecognised)
{
    const TCrossTXT doc = Read(R"({"kind": ["http://ipuz.org/crossword#1"], "dimensions": {"width": 4, "height": 3},
        "puzzle": [[0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0]],
        "clues": {"Down:Pionowo": [{"number": 1, "clue": "a", "cells": [[0, 0], [0, 1], [0, 2]]},
                                   {"number": 2, "clue": "b", "cells": [[3, 1], [3, 2], [3, 3]]}]}})");
    EXPECT_EQ(std::make_pair(doc.GetExpl(1).Col, doc.GetExpl(1).Row), std::make_pair(1, 1));
    EXPECT_EQ(std::make_pair(doc.GetExpl(2).Col, doc.GetExpl(2).Row), std::make_pair(3, 1));
}

TEST_F(Ipuz, WhatTheProgramCannotShowIsRefusedByName)
{
    const std::string head = R"({"version": "http://ipuz.org/v2", "dimensions": {"width": 4, "height": 3}, )";
    const std::string grid = R"("puzzle": [[1, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0]])";
    const std::string crossword = R"("kind": ["http://ipuz.org/crossword#1"], )";
    const std::string refused = "Plik p.ipuz zawiera coś, czego Mirakolnik Zodevidar nie potrafi pokazać: ";
    const std::string invalid = "Plik p.ipuz nie jest poprawnym plikiem ipuz: ";
    const std::pair<std::string, std::string> cases[] = {
        {head + R"("kind": ["http://ipuz.org/sudoku#1"], )" + grid + "}",
         refused + "łamigłówka rodzaju „http://ipuz.org/sudoku#1” (obsługiwane są tylko krzyżówki)."},
        {head + R"("kind": ["http://ipuz.org/crossword#1", "https://libipuz.org/barred#1"], )" + grid + "}",
         refused + "krzyżówka z kreskami między polami zamiast zaczernień (https://libipuz.org/barred#1)."},
        {head + crossword
             + R"("puzzle": [[{"cell": 1, "style": {"barred": "R"}}, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0]]})",
         refused + "kreski między polami (barred)."},
        {head + crossword + grid + R"(, "solution": [[0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, "AB"]]})",
         refused + "pole z kilkoma literami („AB” (wiersz 3, kolumna 4 pola „solution”))."},
        {head + crossword + grid + R"(, "solution": [[0, 0, 0, 0], [0, 0, 0, 0], [0, 0, "ß", 0]]})",
         refused + "znak „ß” spoza liter, które mieszczą się w polu (wiersz 3, kolumna 3 pola „solution”)."},
        {head + crossword + R"("puzzle": [[1, 0, 0, 0], [0, {"cell": 0, "value": 7}, 0, 0], [0, 0, 0, 0]]})",
         invalid + "niepoprawna litera (wiersz 2, kolumna 2 pola „puzzle”)."},
        {head + crossword + grid + R"(, "clues": {"Diagonal": [[1, "x"]]}})",
         refused + "hasła w kierunku „Diagonal” (obsługiwane są tylko Across i Down)."},
        {R"({"kind": ["http://ipuz.org/crossword#1"], "dimensions": {"width": 3, "height": 3}, "puzzle": []})",
         refused + "siatka 3 × 3 (najmniejsza to 4 × 3)."},
        {head + crossword + grid + R"(, "clues": {"Across": [[7, "x"]]}})",
         invalid + "hasło 7 nie ma swojego pola w siatce."},
        {head + crossword + R"("puzzle": [[1, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0]]})",
         invalid + "wiersz 1 pola „puzzle” nie ma 4 pól."},
        {R"({"kind": ["http://ipuz.org/crossword#1"], "puzzle": []})", invalid + "brak pola „dimensions”."},
        {R"({"kind": ["http://ipuz.org/crossword#1"],)",
         invalid + "błąd składni JSON w bajcie 42 (oczekiwano nazwy pola)."},
    };
    for (const auto& [json, message] : cases)
        EXPECT_EQ(MessageOf([&] { Read(json); }), message) << json;
}

// Another program's decorations are dropped and a clue linked over several
// words stays on its first; the note says both, the crossword opens.
TEST_F(Ipuz, StylesAreDroppedAndLinkedCluesKeptOnTheirFirstWordWithANote)
{
    const std::string json = R"({"kind": ["http://ipuz.org/crossword#1"], "dimensions": {"width": 4, "height": 3},
        "puzzle": [[{"cell": 1, "style": {"shapebg": "circle"}}, 0, {"cell": 0, "style": "zielony"}, 2],
                   [0, "#", "#", 0], [3, 0, 0, 0]],
        "clues": {"Across": [{"number": 1, "clue": "Kot i sok", "continued": [{"direction": "Across", "number": 3}]},
                             {"number": 3, "clue": "Zob. 1"},
                             {"label": "<b>9</b>", "numbers": [4, "<i>"], "clue": "x", "cells": [[1, 3]]}],
                  "Down": [{"numbers": [1, 2], "clue": "Dwie kolumny", "cells": [[1, 1], [1, 2], [1, 3], [4, 1]]}]}})";
    const TCrossTXT doc = Read(json);
    ASSERT_EQ(doc.ExplCount(), 4);
    EXPECT_EQ(doc.GetExpl(1).Explanation, "Kot i sok");
    EXPECT_EQ(std::make_tuple(doc.GetExpl(2).Col, doc.GetExpl(2).Row, doc.GetExpl(2).Horizontal),
              std::make_tuple(1, 1, false));
    EXPECT_EQ(IpuzImportNote(json, "p.ipuz"), "Pominięto wygląd 2 pól (kółka, kolory, obramowania): tu pola są zwykłe.\n"
                              "Hasła połączone z kilku słów zostały przy swoim pierwszym słowie: 1 poziomo (z dalszym "
                              "ciągiem 3 poziomo), 1 pionowo (z dalszym ciągiem 2), 4 poziomo (z dalszym ciągiem i).\n");
    EXPECT_EQ(IpuzImportNote(IpuzText(Crossword()), "p.ipuz"), "");
}

// An open grid of the given size with one across clue at (1,1).
std::string OpenGrid(int width, int height, const std::string& clue = R"([1, "a"])")
{
    std::string rows;
    for (int r = 0; r < height; ++r) {
        rows += r ? ", [" : "[";
        for (int c = 0; c < width; ++c)
            rows += c ? ", 0" : (r ? "0" : "1");
        rows += "]";
    }
    return R"({"kind": ["http://ipuz.org/crossword#1"], "dimensions": {"width": )" + std::to_string(width)
        + R"(, "height": )" + std::to_string(height) + R"(}, "puzzle": [)" + rows + R"(], "clues": {"Across": [)" + clue
        + "]}}";
}

// The reader's bounds, each one step inside and one step outside.
TEST_F(Ipuz, GridsUpToTheLargestADocumentHoldsAreReadAndCluesStayInside)
{
    const std::string refused = "Plik p.ipuz zawiera coś, czego Mirakolnik Zodevidar nie potrafi pokazać: ";
    const std::string invalid = "Plik p.ipuz nie jest poprawnym plikiem ipuz: ";
    const std::pair<std::string, std::string> cases[] = {
        {OpenGrid(255, 3), ""},
        {OpenGrid(4, 255), ""},
        {OpenGrid(256, 3), refused + "siatka 256 × 3 (największa to 255 × 255)."},
        {OpenGrid(4, 256), refused + "siatka 4 × 256 (największa to 255 × 255)."},
        {OpenGrid(4, 3, R"({"number": 1, "clue": "a", "cells": [[4, 3]]})"), ""},
        {OpenGrid(4, 3, R"({"number": 1, "clue": "a", "cells": [[5, 1]]})"),
         invalid + "pola hasła 1 leżą poza siatką."},
        {OpenGrid(4, 3, R"({"number": 1, "clue": "a", "cells": [[1, 4]]})"),
         invalid + "pola hasła 1 leżą poza siatką."},
        {OpenGrid(4, 3, R"({"number": 1, "clue": "a", "cells": [[0, -1]]})"),
         invalid + "pola hasła 1 leżą poza siatką."},
    };
    for (const auto& [json, message] : cases)
        EXPECT_EQ(MessageOf([&] { Read(json); }), message.empty() ? "(no error)" : message) << json.substr(0, 80);

    // 4 x 3 cells start at most 24 words.
    std::string clues = R"([1, "a"])";
    for (int i = 1; i < 25; ++i)
        clues += R"(, [1, "a"])";
    EXPECT_EQ(MessageOf([&] { Read(OpenGrid(4, 3, clues)); }), invalid + "więcej haseł, niż siatka 4 × 3 może mieć.");
    // A clue is cut to what a record of the crossword file holds, at a whole character.
    const TCrossTXT cut = Read(OpenGrid(4, 3, R"([1, ")" + std::string(3000, 'x') + R"("])"));
    EXPECT_EQ(cut.GetExpl(1).Explanation, std::string(2039, 'x'));
}

// A sound name is joined to the audio directory: names that could reach
// outside it are dropped and counted, the clue stays.
TEST_F(Ipuz, SoundNamesThatAreNoPlainFileNamesAreDroppedAndCounted)
{
    const std::pair<std::string, bool> names[] = {
        {"kot.wav", true},          {"../../etc/passwd", false}, {"/etc/shadow", false}, {R"(..\\..\\boot.ini)", false},
        {"\\u001b[2Jx.wav", false}, {"C:x.wav", false},
    };
    for (const auto& [name, kept] : names) {
        std::string json = OpenGrid(4, 3);
        json.insert(json.size() - 1, R"(, "pl.mirakolnik:audio": {"1": ")" + name + R"("})");
        const TCrossTXT doc = Read(json);
        EXPECT_EQ(doc.GetExpl(1).Explanation, "a") << name;
        EXPECT_EQ(doc.GetExpl(1).Audio, kept ? name : "") << name;
        EXPECT_EQ(doc.RefusedSounds, kept ? 0 : 1) << name;
    }
}

// What the reader would refuse is never written: the export says why and
// leaves the previous file.
TEST_F(Ipuz, AnExportTheReaderCouldNotReadBackIsRefusedWithItsReason)
{
    TCrossTXT largest = Grid(255, 255);
    largest.AddExpl({255, 1, "a", "", false});
    ExportAsIpuz(largest, PathOf("max.ipuz"));
    TCrossTXT back;
    back.LoadFromFile(PathOf("max.ipuz"));
    EXPECT_EQ(back.ColCount(), 255);
    EXPECT_EQ(back.RowCount(), 255);
    EXPECT_EQ(back.GetExpl(1).Col, 255);

    TCrossTXT empty;
    empty.Clear();
    TCrossTXT onBlock = Crossword();
    onBlock.AddExpl({2, 2, "x", "", true});
    TCrossTXT outside = Crossword();
    outside.AddExpl({9, 1, "x", "", false});
    TCrossTXT quote = Crossword();
    quote.SetCell(2, 1, '"');
    const std::string name = PathOf("w.ipuz");
    const std::string head = "Wystąpił błąd podczas zapisu pliku " + name + ": w formacie ipuz nie da się zapisać: ";
    const std::pair<TCrossTXT, std::string> cases[] = {
        {empty, head + "siatka 0 × 0 (ipuz przyjmuje od 4 × 3 do 255 × 255)"},
        {onBlock, head + "hasło 5 (2,2) zaczyna się na zaczernionym polu"},
        {outside, head + "hasło 5 (9,1) leży poza siatką"},
        {quote, head + "pole (2,1) zawiera znak spoza liter siatki"},
    };
    for (const auto& [doc, message] : cases) {
        WriteBytes(name, "stary");
        EXPECT_EQ(MessageOf([&] { ExportAsIpuz(doc, name); }), message);
        EXPECT_EQ(ReadBytes(name), "stary");
    }
}

TEST_F(Ipuz, DamagedFilesEndInTheDocumentedErrorNeverInACrash)
{
    const std::string text = IpuzText(Crossword());
    for (size_t cut = 0; cut < text.size(); cut += 7) {
        TCrossTXT doc;
        EXPECT_NE(MessageOf([&] { doc.LoadFromData(text.substr(0, cut), "p.ipuz"); }), "(no error)") << cut;
    }
    // Every byte changed in turn: either a readable crossword or a message.
    for (size_t at = 0; at < text.size(); at += 3) {
        std::string bad = text;
        bad[at] = static_cast<char>(bad[at] ^ 0x5A);
        TCrossTXT doc;
        try {
            doc.LoadFromData(bad, "p.ipuz");
        } catch (const EIOOperation&) {
        }
    }
    EXPECT_THROW(ParseJson(std::string(100, '[') + std::string(100, ']')), EJsonError);
}

TEST(Json, StringsKeepEveryCharacterThroughWritingAndReading)
{
    const std::string text = "cudzysłów \" ukośnik \\ tab \t nowa linia \n \x01 ż 𝄞";
    const TJson back = ParseJson(TJson(TJson::TObject{{"a", text}}).Write());
    EXPECT_EQ(back.Find("a")->String(), text);
    EXPECT_EQ(ParseJson(R"("\u017c\ud834\udd1e\/")").String(), "ż𝄞/");
    EXPECT_THROW(ParseJson(R"("\ud834")"), EJsonError);
    EXPECT_THROW(ParseJson("[1,]"), EJsonError);
    EXPECT_THROW(ParseJson("01"), EJsonError);
    EXPECT_EQ(ParseJson(" [-1.5e2, true, null] ").Array()[0].Number(), -150.0);
}
