#include <filesystem>
#include <iterator>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/reminders/ReminderFile.h"
#include "support/ReminderTestSupport.h"

namespace tavrin {
namespace {

using test::dataFile;
using test::putReminder;
using test::readFile;
using test::titles;
using test::writeFile;

// Every slot after the occupied run must be wholly free, or a later save would drop records.
void expectUnbrokenRun(const ReminderTable& t) {
    for (int i = occupiedSlots(t); i < kReminderSlots; ++i)
        EXPECT_EQ(ReminderRecord::fromSlot(t, i), ReminderRecord{}) << "slot " << i;
}

// A reminder file in a fresh folder.
class FileTest : public test::ReminderFolder {
  protected:
    // Puts the test data file `name` where the reminder file is and loads it.
    Result<> load(const std::string& name) {
        original = readFile(dataFile(name));
        writeFile(path, original);
        return loadReminders(table, path);
    }
    std::string original;
};

// Some editors end lines with LF alone, or start a file with a UTF-8 byte-order mark: neither may
// hide a record or change what it holds.
TEST(ReminderFile, ThreeRecordsFillSlotsInOrderWithCrLfLfOrAByteOrderMark) {
    const std::string crlf = readFile(dataFile("three-records.dat"));
    for (const std::string& text : {crlf, readFile(dataFile("lf-only.dat")), "\xEF\xBB\xBF" + crlf}) {
        ReminderTable t;
        EXPECT_EQ(parseReminders(text, t).loaded, 3);
        ASSERT_EQ(occupiedSlots(t), 3);
        EXPECT_EQ(t.times[0] + t.enabled[1] + t.recurrences[2], "09:30:0000");
        EXPECT_EQ(t.bodies[2],
                  text.find('\r') != std::string::npos ? "Line one\r\nLine two" : "Line one\nLine two");
    }
}

TEST(ReminderFile, RoundTripKeepsEveryByte) {
    ReminderTable t;
    putReminder(t, 0, "Two lines", "03/07/05", "09:30:00", "1", "-1", "first line\r\nsecond line");
    putReminder(t, 1, "Empty message", "03/07/05", "09:30:00", "0", "2", "");
    putReminder(t, 2, "<START>", "03/07/05", "21:05:00", "1", "0", "<START>");
    putReminder(t, 3, "Commas, here, too", "a,b", "21:05:00", "1", "1", "x, y,, z");
    putReminder(t, 4, "Caf\xe9 \xff\x80", "  03/07/05", "21:05:00", "1", "-1", "lf only\nand\xa0nbsp \t");
    putReminder(t, 5, "  leading blanks", "03/07/05", "21:05:00", "1", "-1", "\r\n");
    const std::string text = serialiseReminders(t);
    EXPECT_EQ(text.substr(0, 53),
              "\"<START>\"\r\n\"Two lines\"\r\n\"03/07/05\"\r\n\"09:30:00\"\r\n\"1\"\r\n");
    ReminderTable back;
    EXPECT_EQ(parseReminders(text, back).loaded, 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(ReminderRecord::fromSlot(back, i), ReminderRecord::fromSlot(t, i));
    EXPECT_EQ(serialiseReminders(back), text);
    // A double quote typed into a file by hand reads, and is written as an apostrophe.
    parseReminders(
        "\"<START>\"\r\nSay \"hi\" "
        "now\r\n\"03/07/05\"\r\n\"09:30:00\"\r\n\"1\"\r\n\"-1\"\r\n\"m\"\r\n\"</END>\"\r\n",
        t);
    ASSERT_EQ(t.titles[0], "Say \"hi\" now");
    parseReminders(serialiseReminders(t), back);
    EXPECT_EQ(back.titles[0] + "|" + back.bodies[0], "Say 'hi' now|m");
}

TEST(ReminderFile, MalformedFilesReadAsTheFormatHasAlwaysRead) {
    ReminderTable t;
    // A record without "</END>" swallows the next one; its message is the last item read.
    parseReminders(readFile(dataFile("missing-end.dat")), t);
    EXPECT_EQ(titles(t) + " " + t.bodies[1], "First|Second|Fourth three");

    parseReminders(readFile(dataFile("text-between.dat")), t);
    EXPECT_EQ(titles(t) + " " + t.bodies[1], "A|B b");

    // Cut inside a record's first five values: what was read is kept.
    parseReminders(readFile(dataFile("truncated.dat")), t);
    ASSERT_EQ(occupiedSlots(t), 2);
    EXPECT_EQ(ReminderRecord::fromSlot(t, 1), (ReminderRecord{"Cut short", "03/08/05", "10:0", "", "", ""}));

    parseReminders(readFile(dataFile("truncated-after-start.dat")), t);
    EXPECT_EQ(occupiedSlots(t), 1);
    expectUnbrokenRun(t);
    parseReminders(readFile(dataFile("binary-junk.dat")), t);
    expectUnbrokenRun(t);
    EXPECT_EQ(parseReminders(readFile(dataFile("empty.dat")), t).loaded, 0);
    EXPECT_EQ(occupiedSlots(t), 0);
    // No prefix of a file may leave a gap in the table.
    const std::string text = readFile(dataFile("missing-end.dat")) + readFile(dataFile("three-records.dat"));
    for (std::size_t n = 0; n <= text.size(); ++n) {
        parseReminders(std::string_view(text).substr(0, n), t);
        expectUnbrokenRun(t);
    }
}

// A record without a title would end the table at a free slot, and a table holds 256 records: the
// records after the first such one still load, and the file is kept beside itself, as it was.
TEST_F(FileTest, RecordsTheTableCannotHoldAreKeptBesideTheFile) {
    const struct {
        const char *file, *told;
        int slots;
        const char* last;
    } cases[] = {{"untitled-record.dat", "1 reminder(s) without a title", 2, "After"},
                 {"over-256.dat", "4 reminder(s) beyond the first 256", 256, "Reminder 255"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::filesystem::remove(path + ".overflow");
        const Result r = load(c.file);
        EXPECT_TRUE(r.ok());
        EXPECT_NE(r.message().find(c.told), std::string::npos) << r.message();
        ASSERT_EQ(occupiedSlots(table), c.slots);
        EXPECT_EQ(table.titles[c.slots - 1], c.last);
        EXPECT_EQ(readFile(path + ".overflow"), original);
        ASSERT_TRUE(loadReminders(table, path).ok());  // loaded again: the copy is there already
        EXPECT_FALSE(std::filesystem::exists(path + ".overflow.2"));
        ASSERT_TRUE(saveReminders(table, path).ok());
        ReminderTable back;
        EXPECT_EQ(parseReminders(readFile(path), back).records, c.slots);
    }
}

TEST_F(FileTest, MissingOrUnreadableFile) {
    table.titles[0] = "stale";
    EXPECT_TRUE(loadReminders(table, path).ok());
    EXPECT_EQ(occupiedSlots(table), 0);
    // A folder where the file should be cannot be read: that is reported, not taken as empty.
    const Result r = loadReminders(table, dir.path());
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(r.message().empty());
}

// How a failed save leaves the file is the atomic writer's to test.
TEST_F(FileTest, SavesMakeFoldersFollowLinksAndMayWriteAnEmptyFile) {
    const std::string deep = dir.file("sub/folder/Tavrin.DAT");  // folders are made on the first save
    putReminder(table, 0, "Only", "03/07/05", "09:30:00");
    ASSERT_TRUE(saveReminders(table, deep).ok());
    struct stat st {};
    ASSERT_EQ(::stat(deep.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_TRUE(saveReminders(ReminderTable{}, deep).ok());  // after deleting the last reminder
    EXPECT_TRUE(std::filesystem::is_regular_file(deep));
    EXPECT_EQ(readFile(deep), "");

    writeFile(dir.file("real.dat"), "");
    std::filesystem::create_symlink("real.dat", path);
    ASSERT_TRUE(saveReminders(table, path).ok());
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(readFile(dir.file("real.dat")), serialiseReminders(table));
}

TEST_F(FileTest, OlderLayoutIsConvertedAndKept) {
    ASSERT_TRUE(load("older-layout.dat"));
    const Result upgraded = upgradeReminderFile(table, path);
    ASSERT_TRUE(upgraded.ok());
    EXPECT_NE(upgraded.message().find("converted"), std::string::npos) << upgraded.message();
    EXPECT_NE(upgraded.message().find(path + ".old"), std::string::npos) << upgraded.message();
    ASSERT_EQ(occupiedSlots(table), 2);
    EXPECT_EQ(ReminderRecord::fromSlot(table, 0),
              (ReminderRecord{"Old one", "03/07/05", "09:30:00", "1", "-1", "An older message"}));
    EXPECT_EQ(table.enabled[1] + table.recurrences[1] + table.bodies[1], "0-1x");
    EXPECT_EQ(readFile(path), serialiseReminders(table));
    EXPECT_EQ(readFile(path + ".old"), original);
    // The copy is written leaving nothing else beside.
    const std::filesystem::directory_iterator files(dir.path());
    EXPECT_EQ(std::distance(begin(files), end(files)), 2);
}

TEST(ReminderUpgrade, ShortFirstMessageAndCurrentFilesAreNotRewritten) {
    // A current file whose first record lost its recurrence code looks old by that record alone.
    for (const char* name :
         {"older-short-message.dat", "three-records.dat", "empty.dat", "damaged-first-record.dat"}) {
        SCOPED_TRACE(name);
        test::TempDir dir;
        const std::string path = dir.file("Tavrin.DAT");
        writeFile(path, readFile(dataFile(name)));
        ReminderTable t;
        ASSERT_TRUE(loadReminders(t, path));
        const ReminderTable loaded = t;
        ASSERT_TRUE(upgradeReminderFile(t, path).ok());
        EXPECT_EQ(readFile(path), readFile(dataFile(name)));
        EXPECT_FALSE(std::filesystem::exists(path + ".old"));
        EXPECT_EQ(t.titles, loaded.titles);
        EXPECT_EQ(t.bodies, loaded.bodies);
    }
    // The short message is then read as the recurrence code, as such a file always was.
    ReminderTable t;
    parseReminders(readFile(dataFile("older-short-message.dat")), t);
    EXPECT_EQ(t.recurrences[0], "ok");
    EXPECT_EQ(t.bodies[0], "");
}

}  // namespace
}  // namespace tavrin
