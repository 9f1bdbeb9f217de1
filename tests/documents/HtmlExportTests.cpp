#include "TestFiles.h"

#include "core/Cp1250.h"
#include "documents/DataAccess.h"
#include "documents/HtmlExport.h"
#include "documents/Json.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace mz;
using namespace mz::test;

namespace {

class HtmlExport : public TTempDirTest { };

// K O T Y     across KOTY (1) and SOKI (3), down KAS (1) and YSI (2)
// A * * S
// S O K I
TCrossTXT Crossword(const std::string& firstClue = "Mruczą & śpią")
{
    TCrossTXT doc = Grid(4, 3, "K    **     ");
    doc.FileName = "/x/K_0003.krz";
    doc.AddExpl({1, 3, "Napoje", "", true, "SOKI"});
    doc.AddExpl({1, 1, Utf8ToCp1250(firstClue), "koty.wav", true, "KOTY"});
    doc.AddExpl({1, 1, Utf8ToCp1250("Dawne pieniądze"), "", false, "KAS"});
    doc.AddExpl({4, 1, Utf8ToCp1250("Młode psy"), "koty.wav", false, "YSI"});
    doc.SetPhrase({"KO S", {{1, 1}, {2, 1}, {4, 2}}});
    return doc;
}

// The crossword's data as the page's script reads it.
TJson PageData(const std::string& page)
{
    const std::string open = R"(<script type="application/json" id="mz-data">)";
    const size_t from = page.find(open);
    EXPECT_NE(from, std::string::npos);
    const size_t to = page.find("</script>", from);
    return ParseJson(page.substr(from + open.size(), to - from - open.size()));
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST_F(HtmlExport, TheDataHoldsStandardNumbersLengthsThePhraseAndScrambledAnswers)
{
    const std::string page = HtmlPageText(Crossword());
    const TJson data = PageData(page);
    EXPECT_EQ(data.Find("cells")->String(),
              "...."
              ".##."
              "....");
    EXPECT_EQ(TJson(data.Find("across")->Array()).Write(),
              "[\n  [1, 1, 1, 4, \"Mruczą & śpią\"],\n  [3, 1, 3, 4, \"Napoje\"]\n]\n");
    EXPECT_EQ(TJson(data.Find("down")->Array()).Write(),
              "[\n  [1, 1, 1, 3, \"Dawne pieniądze\"],\n  [2, 4, 1, 3, \"Młode psy\"]\n]\n");
    EXPECT_EQ(TJson(data.Find("phrase")->Find("words")->Array()).Write(), "[\n  2,\n  1\n]\n");
    EXPECT_EQ(TJson(data.Find("phrase")->Find("cells")->Array()).Write(), "[\n  [1, 1],\n  [2, 1],\n  [4, 2]\n]\n");
    EXPECT_EQ(data.Find("key")->String().size(), 12u);
    EXPECT_TRUE(data.Find("complete")->Bool());
    EXPECT_EQ(data.Find("sounds"), nullptr);
    for (const char* answer : {"KOTY", "SOKI", "KAS", "YSI", "\"KO S\""})
        EXPECT_EQ(page.find(answer), std::string::npos) << answer;
    EXPECT_NE(page.find("<title>K_0003</title>"), std::string::npos);

    // Without answers nothing to check against; with one missing the congratulation cannot come.
    TCrossTXT none = Grid(4, 3, "K    **     ");
    none.AddExpl({1, 1, "kot", "", true});
    EXPECT_EQ(PageData(HtmlPageText(none)).Find("key"), nullptr);
    TCrossTXT partly = Crossword();
    TExpl expl = partly.GetExpl(1);
    expl.Answer.clear();
    partly.SetExpl(1, expl);
    EXPECT_FALSE(PageData(HtmlPageText(partly)).Find("complete")->Bool());
}

TEST_F(HtmlExport, CluesAndTitlesCannotBreakOutOfThePage)
{
    const std::string nasty = "</script><script>alert(1)</script> \"a\" 'b' & <!-- \xE2\x80\xA8";
    struct TCase {
        std::string Clue;
        std::string FileName;
    } cases[] = {{nasty, "/x/K.krz"}, {"kot", "/x/</title><script>alert(1)<!--.krz"}};
    for (const TCase& c : cases) {
        TCrossTXT doc = Crossword(c.Clue);
        doc.FileName = c.FileName;
        const std::string page = HtmlPageText(doc);
        EXPECT_EQ(Count(page, "<script"), 2u) << c.FileName;
        EXPECT_EQ(Count(page, "</script>"), 2u) << c.FileName;
        EXPECT_EQ(Count(page, "<!--"), 0u) << c.FileName;
        EXPECT_EQ(Count(page, "</title>"), 1u) << c.FileName;
        EXPECT_EQ(page.find("\xE2\x80\xA8"), std::string::npos);
        // ... and the script still reads the text as it was (the separator as CP1250 cannot hold it).
        const std::string expected = Cp1250ToUtf8(Utf8ToCp1250(c.Clue));
        EXPECT_EQ(PageData(page).Find("across")->Array()[0].Array()[4].String(), expected);
    }
}

TEST_F(HtmlExport, AFailedExportLeavesTheEarlierPage)
{
    std::ofstream(PathOf("k.html")) << "earlier";
    const TSoundFileOf gone = [&](std::string_view) { return Dir / "nie-ma.wav"; };
    EXPECT_THROW(ExportAsHtml(Crossword(), PathOf("k.html"), {gone}), EIOOperation);
    std::ifstream in(PathOf("k.html"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "earlier");

    ExportAsHtml(Crossword(), PathOf("k.html"));
    std::ifstream written(PathOf("k.html"));
    const std::string page(std::istreambuf_iterator<char>(written), {});
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
}
