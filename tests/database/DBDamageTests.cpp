// What a damaged or foreign word database may hold and the loader keeps out
// of crosswords: words a grid cell cannot show, and sound names that could
// reach outside the audio directory.
#include "DBTestUtil.h"

#include "database/DB.h"

#include <gtest/gtest.h>

using namespace mz;
using namespace mz::test;

// A word with a character no cell can show is skipped with its clues and its
// sound, and counted; the words around it load as usual.
TEST(DBDamage, WordsACellCannotShowAreSkippedWithTheirRecordsAndCounted)
{
    const std::vector<TDBFileRecord> records = {{DBRecWord, "KOT"},
                                                {DBRecExplanation, "mruczek"},
                                                {DBRecWord, std::string("K\0T", 3)},
                                                {DBRecExplanation, "zero"},
                                                {DBRecAudio, "z.wav\r\n"},
                                                {DBRecWord, "K?T"},
                                                {DBRecExplanation, "pytajnik"},
                                                {DBRecWord, "KO,T"},
                                                {DBRecWord, "kot"},
                                                {DBRecWord, ""},
                                                {DBRecWord, "R2D2"},
                                                {DBRecExplanation, "robot"},
                                                {DBRecWord, "\xAF\xD3\xA3W"},
                                                {DBRecExplanation, "gad"},
                                                {DBRecEnd, {}}};
    TDB db;
    db.LoadRecords(101, records, "zla.hk", {2, 20});
    EXPECT_EQ(Chain(db.Words()), (std::vector<std::string>{"\xAF\xD3\xA3W", "R2D2", "KOT"}));
    EXPECT_EQ(db.SkippedWords(), 5);
    ASSERT_NE(db.FindRecord("KOT"), nullptr);
    EXPECT_EQ(db.FindRecord("KOT")->ExplLines, "mruczek\r\n");
    ASSERT_NE(db.FindRecord("R2D2"), nullptr);
    EXPECT_EQ(db.FindRecord("R2D2")->ExplLines, "robot\r\n");
    EXPECT_EQ(db.MinLen(), 3);

    // A clue before any word is still a broken file, skipped words or not.
    TDB orphan;
    EXPECT_THROW(orphan.LoadRecords(101, {{DBRecExplanation, "sierota"}, {DBRecEnd, {}}}, "x.hk"), EDBInvalidOperation);
    EXPECT_EQ(orphan.SkippedWords(), 0);
}

TEST(DBDamage, SoundNamesThatAreNoPlainFileNamesAreDroppedAndCounted)
{
    const std::vector<TDBFileRecord> records =
        {{DBRecWord, "KOT"},  {DBRecExplanation, "mruczek"}, {DBRecAudio, "../../../../home/user/.ssh/id_rsa\r\n"},
         {DBRecWord, "PIES"}, {DBRecExplanation, "burek"},   {DBRecAudio, "PIES.wav\r\nC:\\x.wav\r\nHAU.wav\r\n"},
         {DBRecWord, "SOWA"}, {DBRecExplanation, "ptak"},    {DBRecAudio, "SOWA.wav\r\n"},
         {DBRecEnd, {}}};
    TDB db;
    db.LoadRecords(101, records, "dzwieki.hk");
    EXPECT_EQ(db.RefusedSounds(), 2);
    ASSERT_NE(db.FindRecord("KOT"), nullptr);
    ASSERT_NE(db.FindRecord("PIES"), nullptr);
    ASSERT_NE(db.FindRecord("SOWA"), nullptr);
    EXPECT_EQ(db.FindRecord("KOT")->AudioLines, "");
    EXPECT_EQ(db.FindRecord("KOT")->ExplLines, "mruczek\r\n");
    EXPECT_EQ(db.FindRecord("PIES")->AudioLines, "PIES.wav\r\nHAU.wav\r\n");
    EXPECT_EQ(db.FindRecord("SOWA")->AudioLines, "SOWA.wav\r\n");
}
