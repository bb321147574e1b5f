// tavrinctl reminders, add, delete, --enable and --disable, run as a user runs them, and beside a
// running clock's own saves. What a reminder may hold is the editor's rule (tested in the core);
// here, that the command reaches it, in the user's date format and file, and says how it went.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderRecord.h"
#include "core/reminders/ReminderUpdate.h"
#include "support/CtlRunner.h"
#include "support/ReminderTestSupport.h"

namespace tavrin {
namespace {

using test::CtlRun;
using test::readFile;
using test::writeFile;

class RemindersCommand : public ::testing::Test {
  protected:
    // tavrinctl reminders with `args`, on the file of this test's user.
    CtlRun ctl(std::vector<std::string> args) {
        args.insert(args.begin(), "reminders");
        return runner.run(std::move(args));
    }

    ReminderTable load() {
        ReminderTable t;
        EXPECT_TRUE(readReminders(t, path).ok);
        return t;
    }

    test::ScratchHome home;
    test::CtlRunner runner{home};
    const std::string path = home.reminderFile();
};

TEST_F(RemindersCommand, AddsListsSwitchesAndDeletesInTheUsersDateFormat) {
    home.seedSettings("\"DateFormat\"=\"dd.mm.yyyy\"\n");
    EXPECT_EQ(
        ctl({"add", "Dentist", "07.03.2005", "21:05", "--recur", "weekly", "--body", "Two\tlines\nhere"}).out,
        "added as 0\n");
    // A date typed with slashes is still read day first; "--" ends the options, so a title may
    // start with dashes.
    EXPECT_EQ(ctl({"add", "--recur", "daily", "--", "--call", "03/08/05", "9:30 AM"}).status, 0);
    EXPECT_EQ(ReminderRecord::fromSlot(load(), 0),
              (ReminderRecord{"Dentist", "07.03.2005", "21:05:00", "1", "2", "Two\tlines\nhere"}));
    const CtlRun listed = ctl({});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out,
              "0\tDentist\t07.03.2005\t21:05:00\t1\t2\tTwo\\tlines\\nhere\n"
              "1\t--call\t03.08.2005\t09:30:00\t1\t1\t\n");
    EXPECT_EQ(ctl({"--disable", "1"}).out, "disabled\n");
    const CtlRun again = ctl({"--disable", "1"});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.out, "disabled already\n");
    EXPECT_EQ(load().RemEnabled[1], "0");
    EXPECT_EQ(ctl({"--enable", "1"}).status, 0);
    EXPECT_EQ(load().RemEnabled[1], "1");
    EXPECT_EQ(ctl({"delete", "0"}).status, 0);
    EXPECT_EQ(load().RemTitle[0], "--call");
    EXPECT_EQ(occupiedSlots(load()), 1);
}

// Each refusal names its reason, exits with status 1 and leaves the file exactly as it was.
TEST_F(RemindersCommand, RefusalsSayWhyAndLeaveTheFileUntouched) {
    std::string full;
    for (int i = 0; i < kReminderSlots; ++i) full += test::recordText("R" + std::to_string(i));
    const struct {
        const char* what;
        std::string file;
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {"a quote in the title", "", {"add", "Say \"hi\"", "03/07/05", "9:30"}, "double quote"},
        {"a full table", full, {"add", "One more", "03/07/05", "9:30"}, "already holds 256"},
        {"no such reminder", full, {"delete", "256"}, "there is no reminder 256"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        home.seedReminders(c.file);
        const CtlRun r = ctl(c.args);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(readFile(path), c.file);
    }
}

// Another program's file where the reminders should be: the change keeps it aside before it writes,
// and says where on stderr; a listing says that nothing in it reads as a reminder.
TEST_F(RemindersCommand, AFileWithNothingThatReadsAsAReminderIsKeptAsideBeforeTheChange) {
    const std::string csv = "Title,Date,Time\r\nDentist,2005-03-07,09:30\r\n";
    const std::string other = home.file("other.csv");
    writeFile(other, csv);
    const CtlRun r = ctl({"add", "Dentist", "03/07/05", "9:30", "--file", other});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find(other + ".unread"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(other + ".unread"), csv);
    // Listing such a file is no empty list.
    writeFile(other, csv);
    const CtlRun listed = ctl({"--file", other});
    EXPECT_EQ(listed.status, 1);
    EXPECT_EQ(listed.err, "tavrinctl: nothing in " + other + " reads as a reminder\n");
}

// The clock's own save loop and tavrinctl write one file at the same time. Each of the clock's saves
// counts up in its own reminder's message and first checks that its last count is still there, while
// tavrinctl adds its reminders: a save one writer loses to the other shows on either side.
TEST_F(RemindersCommand, TheClockAndTavrinctlWritingAtOnceLoseNothing) {
    constexpr int kAdds = 200;
    home.seedReminders(test::recordText("Clock"));
    const std::string doneFile = home.file("done");
    const std::string countFile = home.file("count");
    const pid_t clock = ::fork();
    if (clock == 0) {
        ReminderTable table;
        int saves = 0;
        for (; ::access(doneFile.c_str(), F_OK) != 0; ++saves) {
            bool kept = true;
            const Result saved = updateReminders(table, path, [&](ReminderTable& t) {
                kept = t.RemBody[0] == (saves == 0 ? "" : std::to_string(saves));
                t.RemBody[0] = std::to_string(saves + 1);
                return true;
            });
            if (!saved.ok) ::_exit(3);
            if (!kept) ::_exit(4);
        }
        std::ofstream(countFile) << saves;
        ::_exit(0);
    }
    int failures = 0;
    std::string firstFailure;
    for (int i = 0; i < kAdds; ++i) {
        const CtlRun r = ctl({"add", "B-" + std::to_string(i), "03/07/05", "10:00"});
        if (r.status != 0 && ++failures == 1) firstFailure = r.err;
    }
    writeFile(doneFile, "");
    int status = 0;
    ::waitpid(clock, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the clock's save was lost: " << status;
    EXPECT_EQ(failures, 0) << firstFailure;

    const ReminderTable last = load();
    EXPECT_EQ(last.RemTitle[0], "Clock");
    EXPECT_EQ(last.RemBody[0], readFile(countFile));
    std::set<std::string> titles(last.RemTitle.begin() + 1, last.RemTitle.begin() + occupiedSlots(last));
    for (int i = 0; i < kAdds; ++i)
        EXPECT_EQ(titles.count("B-" + std::to_string(i)), 1u) << "B-" << i << " lost";
}

}  // namespace
}  // namespace tavrin
