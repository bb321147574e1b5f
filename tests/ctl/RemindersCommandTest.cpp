// tavrinctl reminders add / delete / --enable / --disable, run as a user runs them, and beside a
// running clock's own saves.
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

using test::readFile;
using test::writeFile;

using test::CtlRun;

class RemindersCommand : public ::testing::Test {
  protected:
    // Runs tavrinctl with `args` against this test's file, without any settings (the default date
    // format), and collects what it prints.
    CtlRun ctl(std::vector<std::string> args) {
        args.insert(args.begin(), "reminders");
        args.push_back("--file");
        args.push_back(path);
        return runner.run(std::move(args));
    }

    ReminderTable load() {
        ReminderTable t;
        EXPECT_TRUE(readReminders(t, path).ok);
        return t;
    }

    test::TempDir dir;
    test::CtlRunner runner{dir};
    const std::string path = dir.file("Tavrin.DAT");
};

TEST_F(RemindersCommand, AddsDisablesEnablesAndDeletesAsTheEditorWould) {
    EXPECT_EQ(
        ctl({"add", "Dentist", "03/07/05", "21:05", "--recur", "weekly", "--body", "Two lines\nhere"}).status,
        0);
    EXPECT_EQ(ctl({"add", "Call", "3/8/2005", "9:30 AM"}).status, 0);
    ReminderTable t = load();
    EXPECT_EQ(ReminderRecord::fromSlot(t, 0),
              (ReminderRecord{"Dentist", "03/07/05", "21:05:00", "1", "2", "Two lines\nhere"}));
    EXPECT_EQ(ReminderRecord::fromSlot(t, 1),
              (ReminderRecord{"Call", "03/08/05", "09:30:00", "1", "-1", ""}));
    EXPECT_EQ(ctl({"--disable", "1"}).status, 0);
    EXPECT_EQ(load().RemEnabled[1], "0");
    EXPECT_EQ(ctl({"--enable", "1"}).status, 0);
    EXPECT_EQ(load().RemEnabled[1], "1");
    EXPECT_EQ(ctl({"delete", "0"}).status, 0);
    EXPECT_EQ(load().RemTitle[0], "Call");
    EXPECT_EQ(occupiedSlots(load()), 1);
}

// Each refusal names its reason, exits with status 1 and leaves the file exactly as it was.
TEST_F(RemindersCommand, RefusalsSayWhyAndLeaveTheFileUntouched) {
    std::string full;
    for (int i = 0; i < kReminderSlots; ++i)
        full += "\"<START>\"\r\n\"R" + std::to_string(i) +
                "\"\r\n\"03/07/05\"\r\n\"09:30:00\"\r\n\"1\"\r\n\"-1\"\r\n" + "\"\"\r\n\"</END>\"\r\n";
    const struct {
        const char* what;
        std::string file;
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {"a quote in the title", "", {"add", "Say \"hi\"", "03/07/05", "9:30"}, "double quote"},
        {"a quote in the message",
         "",
         {"add", "Hi", "03/07/05", "9:30", "--body", "a \"b\""},
         "double quote"},
        {"a full table", full, {"add", "One more", "03/07/05", "9:30"}, "already holds 256"},
        {"no such reminder", full, {"delete", "256"}, "there is no reminder 256"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(path, c.file);
        const CtlRun r = ctl(c.args);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(readFile(path), c.file);
    }
    // Words that cannot be read: a usage error, and the file is not touched either.
    const struct {
        std::vector<std::string> args;
        const char* says;
    } misread[] = {
        {{"add", "Hi"}, "takes a title"},
        {{"add", "Hi", "03/07/05", "9:30", "--recur", "monthly"}, "--recur takes"},
        {{"add", "Hi", "the 7th", "9:30"},
         "\"the 7th\" cannot be read as a date (the date format is mm/dd/yy)"},
        {{"add", "Hi", "03/07/05", "half past"}, "cannot be read as a time"},
        {{"add", "--today", "03/07/05", "9:30"}, "unknown option '--today'"},
    };
    writeFile(path, full);
    for (const auto& m : misread) {
        const CtlRun r = ctl(m.args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find(m.says), std::string::npos) << r.err;
    }
    EXPECT_EQ(readFile(path), full);
}

// "--" ends the options, as with other command-line tools: a title may start with dashes.
TEST_F(RemindersCommand, AfterTwoDashesNoWordIsAnOption) {
    const CtlRun r = runner.run(
        {"reminders", "add", "--file", path, "--recur", "daily", "--", "--today", "03/07/05", "9:30"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReminderRecord::fromSlot(load(), 0),
              (ReminderRecord{"--today", "03/07/05", "09:30:00", "1", "1", ""}));
}

// Another program's file where the reminders should be: the change keeps it aside before it writes,
// and says where on stderr.
TEST_F(RemindersCommand, AFileWithNothingThatReadsAsAReminderIsKeptAsideBeforeTheChange) {
    const std::string csv = "Title,Date,Time\r\nDentist,2005-03-07,09:30\r\n";
    writeFile(path, csv);
    const CtlRun r = ctl({"add", "Dentist", "03/07/05", "9:30"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find(path + ".unread"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(path + ".unread"), csv);
    EXPECT_EQ(load().RemTitle[0], "Dentist");
}

// The clock's own save loop and tavrinctl write one file a thousand times each. The loop adds its
// own reminders (keeping the latest fifty) and takes away every reminder tavrinctl added, noting
// each: a reminder one writer loses to the other shows up as one never seen.
TEST_F(RemindersCommand, TwoWritersAThousandTimesEachLoseNothing) {
    constexpr int kEach = 1000;
    writeFile(path, "");
    const std::string seenFile = dir.file("seen");
    const std::string doneFile = dir.file("done");
    const std::string countFile = dir.file("count");
    const pid_t clock = ::fork();
    if (clock == 0) {
        ReminderTable table;
        if (!LoadReminders(table, path).ok) ::_exit(2);
        std::ofstream seen(seenFile);
        int i = 0;
        // At least a thousand saves, and on until tavrinctl is done, so that its reminders keep
        // being taken away and the table never fills.
        for (; i < kEach || ::access(doneFile.c_str(), F_OK) != 0; ++i) {
            std::vector<std::string> taken;
            const Result saved = updateReminders(table, path, [&](ReminderTable& t) {
                taken.clear();
                ReminderTable kept;
                int n = 0;
                for (int s = 0; s < occupiedSlots(t); ++s) {
                    const std::string& title = t.RemTitle[s];
                    if (title.rfind("B-", 0) == 0) {
                        taken.push_back(title);
                    } else if (title != "A-" + std::to_string(i - 50)) {
                        ReminderRecord::fromSlot(t, s).toSlot(kept, n++);
                    }
                }
                ReminderRecord{"A-" + std::to_string(i), "03/07/05", "09:30:00", "1", "-1", ""}.toSlot(kept,
                                                                                                       n);
                for (int s = 0; s < kReminderSlots; ++s) ReminderRecord::fromSlot(kept, s).toSlot(t, s);
                return true;
            });
            if (!saved.ok) ::_exit(3);
            for (const std::string& title : taken) seen << title << '\n';
        }
        std::ofstream(countFile) << i;
        seen.close();  // _exit flushes nothing
        ::_exit(seen.fail() ? 4 : 0);
    }
    int failures = 0;
    std::string firstFailure;
    for (int i = 0; i < kEach; ++i) {
        const CtlRun r = ctl({"add", "B-" + std::to_string(i), "03/07/05", "10:00"});
        if (r.status != 0 && ++failures == 1) firstFailure = r.err;
    }
    writeFile(doneFile, "");
    int status = 0;
    ::waitpid(clock, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(failures, 0) << firstFailure;

    std::set<std::string> found;
    std::ifstream seen(seenFile);
    for (std::string line; std::getline(seen, line);)
        EXPECT_TRUE(found.insert(line).second) << line << " twice";
    const ReminderTable last = load();
    std::set<std::string> clockOnes;
    for (int s = 0; s < occupiedSlots(last); ++s) {
        const std::string& title = last.RemTitle[s];
        if (title.rfind("B-", 0) == 0) {
            EXPECT_TRUE(found.insert(title).second) << title << " both taken and left";
        } else {
            clockOnes.insert(title);
        }
    }
    for (int i = 0; i < kEach; ++i)
        EXPECT_EQ(found.count("B-" + std::to_string(i)), 1u) << "B-" << i << " lost";
    std::set<std::string> latest;
    const int saves = std::stoi(readFile(countFile));
    EXPECT_GE(saves, kEach);
    for (int i = saves - 50; i < saves; ++i) latest.insert("A-" + std::to_string(i));
    EXPECT_EQ(clockOnes, latest);
}

}  // namespace
}  // namespace tavrin
