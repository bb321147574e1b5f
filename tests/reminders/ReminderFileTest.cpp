#include <cerrno>
#include <filesystem>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ReminderTestSupport.h"
#include "reminders/ReminderFile.h"

namespace tavrin {
namespace {

using testing::dataFile;
using testing::occupiedCount;
using testing::putReminder;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

// Every slot after the occupied run must be wholly free, or a later save would drop records.
void expectUnbrokenRun(const ReminderTable& t) {
    const int n = occupiedCount(t);
    for (int i = n; i < kReminderSlots; ++i) {
        EXPECT_TRUE(t.RemTitle[i].empty() && t.RemDate[i].empty() && t.RemTime[i].empty() &&
                    t.RemEnabled[i].empty() && t.RemRecur[i].empty() && t.RemBody[i].empty())
            << "slot " << i;
    }
}

TEST(ReminderFile, ThreeRecordsFillSlotsInOrderWithCrLfOrLf) {
    for (const char* name : {"three-records.dat", "lf-only.dat"}) {
        ReminderTable t;
        ASSERT_TRUE(LoadReminders(t, dataFile(name)).ok);
        ASSERT_EQ(occupiedCount(t), 3) << name;
        EXPECT_EQ(t.RemTime[0], "09:30:00");
        EXPECT_EQ(t.RemEnabled[1], "0");
        EXPECT_EQ(t.RemRecur[2], "0");
        EXPECT_EQ(t.RemBody[2], std::string(name[0] == 't' ? "Line one\r\nLine two" : "Line one\nLine two"));
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
    const std::string text = SerialiseReminders(t);
    EXPECT_EQ(text.substr(0, 53),
              "\"<START>\"\r\n\"Two lines\"\r\n\"03/07/05\"\r\n\"09:30:00\"\r\n\"1\"\r\n");
    ReminderTable back;
    const ReminderParseReport r = ParseReminders(text, back);
    EXPECT_EQ(r.loaded, 6);
    EXPECT_EQ(back.RemTitle, t.RemTitle);
    EXPECT_EQ(back.RemDate, t.RemDate);
    EXPECT_EQ(back.RemBody, t.RemBody);
    EXPECT_EQ(SerialiseReminders(back), text);
}

TEST(ReminderFile, MalformedFilesReadAsTheFormatHasAlwaysRead) {
    ReminderTable t;
    // A record without "</END>" swallows the next one; its message is the last item read.
    ParseReminders(readFile(dataFile("missing-end.dat")), t);
    ASSERT_EQ(occupiedCount(t), 3);
    EXPECT_EQ(t.RemTitle[1], "Second");
    EXPECT_EQ(t.RemBody[1], "three");
    EXPECT_EQ(t.RemTitle[2], "Fourth");

    ParseReminders(readFile(dataFile("text-between.dat")), t);
    ASSERT_EQ(occupiedCount(t), 2);
    EXPECT_EQ(t.RemTitle[0], "A");
    EXPECT_EQ(t.RemTitle[1], "B");
    EXPECT_EQ(t.RemBody[1], "b");

    // Cut inside a record's first five values: what was read is kept.
    ParseReminders(readFile(dataFile("truncated.dat")), t);
    ASSERT_EQ(occupiedCount(t), 2);
    EXPECT_EQ(t.RemTitle[1], "Cut short");
    EXPECT_EQ(t.RemDate[1], "03/08/05");
    EXPECT_EQ(t.RemTime[1], "10:0");
    EXPECT_EQ(t.RemEnabled[1], "");

    ParseReminders(readFile(dataFile("truncated-after-start.dat")), t);
    EXPECT_EQ(occupiedCount(t), 1);
    expectUnbrokenRun(t);

    EXPECT_EQ(ParseReminders(readFile(dataFile("empty.dat")), t).loaded, 0);
    EXPECT_EQ(occupiedCount(t), 0);
    ParseReminders(readFile(dataFile("binary-junk.dat")), t);
    expectUnbrokenRun(t);
}

TEST(ReminderFile, EveryPrefixOfAFileParsesWithinTheTable) {
    const std::string text = readFile(dataFile("missing-end.dat")) + readFile(dataFile("three-records.dat"));
    for (std::size_t n = 0; n <= text.size(); ++n) {
        ReminderTable t;
        ParseReminders(std::string_view(text).substr(0, n), t);
        expectUnbrokenRun(t);
    }
}

TEST(ReminderFile, RecordWithoutTitleDoesNotCutOffTheRecordsAfterIt) {
    TempDir dir;
    const std::string path = dir.file("Tavrin.DAT");
    const std::string original = readFile(dataFile("untitled-record.dat"));
    writeFile(path, original);
    ReminderTable t;
    const ReminderFileResult r = LoadReminders(t, path);
    EXPECT_TRUE(r.ok);
    EXPECT_NE(r.message.find("without a title"), std::string::npos);
    ASSERT_EQ(occupiedCount(t), 2);
    EXPECT_EQ(t.RemTitle[1], "After");
    EXPECT_EQ(readFile(path + ".overflow"), original);
}

TEST(ReminderFile, MoreThan256RecordsKeepsTheOriginalBesideIt) {
    TempDir dir;
    const std::string path = dir.file("Tavrin.DAT");
    const std::string original = readFile(dataFile("over-256.dat"));
    writeFile(path, original);
    ReminderTable t;
    const ReminderFileResult r = LoadReminders(t, path);
    EXPECT_TRUE(r.ok);
    EXPECT_NE(r.message.find("4 reminder(s) beyond the first 256"), std::string::npos) << r.message;
    EXPECT_EQ(occupiedCount(t), 256);
    EXPECT_EQ(t.RemTitle[255], "Reminder 255");
    EXPECT_EQ(readFile(path + ".overflow"), original);

    // Loading again does not make a second copy; a different file never replaces the first copy.
    ASSERT_TRUE(LoadReminders(t, path).ok);
    EXPECT_FALSE(std::filesystem::exists(path + ".overflow.2"));
    writeFile(path, original + readFile(dataFile("three-records.dat")));
    ASSERT_TRUE(LoadReminders(t, path).ok);
    EXPECT_EQ(readFile(path + ".overflow"), original);
    EXPECT_EQ(readFile(path + ".overflow.2"), readFile(path));

    ASSERT_TRUE(SaveReminders(t, path).ok);
    ReminderTable back;
    EXPECT_EQ(ParseReminders(readFile(path), back).records, 256);
}

TEST(ReminderFile, MissingOrUnreadableFile) {
    TempDir dir;
    ReminderTable t;
    t.RemTitle[0] = "stale";
    EXPECT_FALSE(FileExists(dir.file("none.dat")));
    EXPECT_TRUE(LoadReminders(t, dir.file("none.dat")).ok);
    EXPECT_EQ(occupiedCount(t), 0);
    // A folder where the file should be cannot be read: that is reported, not taken as empty.
    EXPECT_FALSE(FileExists(dir.path() + "/"));
    const ReminderFileResult r = LoadReminders(t, dir.path());
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.message.empty());
    EXPECT_TRUE(FileExists(dataFile("empty.dat")));
}

TEST(ReminderFile, SaveAfterDeletingTheLastReminderWritesAnEmptyFile) {
    TempDir dir;
    const std::string path = dir.file("sub/folder/Tavrin.DAT");  // folders are made on the first save
    ReminderTable t;
    putReminder(t, 0, "Only", "03/07/05", "09:30:00");
    ASSERT_TRUE(SaveReminders(t, path).ok);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    t = ReminderTable{};
    ASSERT_TRUE(SaveReminders(t, path).ok);
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(readFile(path), "");
}

TEST(ReminderFile, SaveFollowsASymbolicLink) {
    TempDir dir;
    const std::string real = dir.file("real.dat");
    const std::string link = dir.file("Tavrin.DAT");
    writeFile(real, "");
    std::filesystem::create_symlink("real.dat", link);
    ReminderTable t;
    putReminder(t, 0, "Linked", "03/07/05", "09:30:00");
    ASSERT_TRUE(SaveReminders(t, link).ok);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readFile(real), SerialiseReminders(t));
}

TEST(ReminderFile, DoubleQuoteFromAHandEditedFileIsWrittenAsAnApostrophe) {
    ReminderTable t;
    ParseReminders(
        "\"<START>\"\r\nSay \"hi\" "
        "now\r\n\"03/07/05\"\r\n\"09:30:00\"\r\n\"1\"\r\n\"-1\"\r\n\"m\"\r\n\"</END>\"\r\n",
        t);
    ASSERT_EQ(t.RemTitle[0], "Say \"hi\" now");
    ReminderTable back;
    ParseReminders(SerialiseReminders(t), back);
    EXPECT_EQ(back.RemTitle[0], "Say 'hi' now");
    EXPECT_EQ(back.RemBody[0], "m");
}

class FailingSave : public ::testing::Test {
  protected:
    void SetUp() override {
        path = dir.file("Tavrin.DAT");
        putReminder(table, 0, "Old", "03/07/05", "09:30:00");
        ASSERT_TRUE(SaveReminders(table, path).ok);
        before = readFile(path);
        for (int i = 0; i < 40; ++i)
            putReminder(table, i, "New " + std::to_string(i), "03/07/05", "09:30:00");
    }
    void expectOldFileWholeAndNoLeftovers() {
        EXPECT_EQ(readFile(path), before);
        int entries = 0;
        for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
            (void)e;
            ++entries;
        }
        EXPECT_EQ(entries, 1);
    }
    TempDir dir;
    std::string path;
    std::string before;
    ReminderTable table;
};

TEST_F(FailingSave, DiskFullPartWayThroughTheWrite) {
    AtomicFile::WriteCalls calls = AtomicFile::WriteCalls::system();
    std::size_t budget = 100;
    calls.write = [&](int fd, const void* p, std::size_t n) -> ssize_t {
        if (budget == 0) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t k = std::min(n, budget);
        budget -= k;
        return ::write(fd, p, k);
    };
    const ReminderFileResult r = SaveReminders(table, path, calls);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("No space left"), std::string::npos) << r.message;
    expectOldFileWholeAndNoLeftovers();
}

TEST_F(FailingSave, FlushFails) {
    AtomicFile::WriteCalls calls = AtomicFile::WriteCalls::system();
    calls.fsync = [](int) {
        errno = EIO;
        return -1;
    };
    EXPECT_FALSE(SaveReminders(table, path, calls).ok);
    expectOldFileWholeAndNoLeftovers();
}

TEST_F(FailingSave, FolderIsNotAFolder) {
    writeFile(dir.file("plain"), "x");
    const ReminderFileResult r = SaveReminders(table, dir.file("plain/Tavrin.DAT"));
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.message.empty());
    EXPECT_EQ(readFile(dir.file("plain")), "x");
}

TEST(ReminderUpgrade, OlderLayoutIsConvertedAndKept) {
    TempDir dir;
    const std::string path = dir.file("Tavrin.DAT");
    const std::string original = readFile(dataFile("older-layout.dat"));
    writeFile(path, original);
    ReminderTable t;
    LoadReminders(t, path);
    ASSERT_TRUE(UpgradeReminderFile(t, path).ok);
    ASSERT_EQ(occupiedCount(t), 2);
    EXPECT_EQ(t.RemTitle[0], "Old one");
    EXPECT_EQ(t.RemDate[0], "03/07/05");
    EXPECT_EQ(t.RemTime[0], "09:30:00");
    EXPECT_EQ(t.RemEnabled[0], "1");
    EXPECT_EQ(t.RemRecur[0], "-1");
    EXPECT_EQ(t.RemBody[0], "An older message");
    EXPECT_EQ(t.RemEnabled[1], "0");
    EXPECT_EQ(t.RemRecur[1], "-1");
    EXPECT_EQ(t.RemBody[1], "x");
    EXPECT_EQ(readFile(path), SerialiseReminders(t));
    EXPECT_EQ(readFile(path + ".old"), original);
    // Once converted, a second run leaves it alone.
    ReminderTable again;
    LoadReminders(again, path);
    ASSERT_TRUE(UpgradeReminderFile(again, path).ok);
    EXPECT_EQ(readFile(path), SerialiseReminders(t));
}

TEST(ReminderUpgrade, ShortFirstMessageAndCurrentFilesAreNotRewritten) {
    for (const char* name : {"older-short-message.dat", "three-records.dat", "empty.dat"}) {
        TempDir dir;
        const std::string path = dir.file("Tavrin.DAT");
        const std::string original = readFile(dataFile(name));
        writeFile(path, original);
        ReminderTable t;
        LoadReminders(t, path);
        const ReminderTable loaded = t;
        ASSERT_TRUE(UpgradeReminderFile(t, path).ok) << name;
        EXPECT_EQ(readFile(path), original) << name;
        EXPECT_FALSE(std::filesystem::exists(path + ".old")) << name;
        EXPECT_EQ(t.RemTitle, loaded.RemTitle);
        EXPECT_EQ(t.RemBody, loaded.RemBody);
    }
    // The short message is then read as the recurrence code, as such a file always was.
    ReminderTable t;
    ParseReminders(readFile(dataFile("older-short-message.dat")), t);
    EXPECT_EQ(t.RemRecur[0], "ok");
    EXPECT_EQ(t.RemBody[0], "");
}

}  // namespace
}  // namespace tavrin
