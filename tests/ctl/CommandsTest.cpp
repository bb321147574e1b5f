// tavrinctl settings, format, zones, time, its usage text and its exit statuses, run as a user runs
// them: against the tests' pinned zone folder and settings the test writes, checking what the user
// sees. The rules behind the answers (patterns, zone rules, clock changes) are the core's and tested
// there; here, that the command reads its arguments and environment and writes its lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/CtlRunner.h"
#include "support/InstalledLocale.h"

namespace tavrin {
namespace {

using test::CtlRun;
using test::readFile;

class Commands : public ::testing::Test {
  protected:
    CtlRun ctl(std::vector<std::string> args) { return runner.run(std::move(args)); }

    // One run of `command` per case, with all that it prints on stdout; stderr stays empty.
    struct Shown {
        std::vector<std::string> args;
        const char* out;
    };
    void expectShown(const std::string& command, const std::vector<Shown>& cases) {
        for (const Shown& c : cases) {
            SCOPED_TRACE(command + " " + c.args[0]);
            std::vector<std::string> args{command};
            args.insert(args.end(), c.args.begin(), c.args.end());
            const CtlRun r = ctl(args);
            EXPECT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(r.out, c.out);
            EXPECT_EQ(r.err, "");
        }
    }

    test::ScratchHome home;
    test::CtlRunner runner{home};
};

TEST_F(Commands, SettingsShowsTheChosenRootAndEveryValueOnItsOwnLine) {
    const struct {
        const char* what;
        std::string user, machine;
        std::string shown;
    } cases[] = {
        {"user settings only", "@=\"Tavrin\"\n\"DateFormat\"=\"dd.mm.yyyy\"\n", "",
         "user\n@=Tavrin\nDateFormat=dd.mm.yyyy\n"},
        // Line breaks, tabs, backslashes and the NUL another program left at the end stay on the line.
        {"a value with control bytes", "\"TimeFormat\"=hex(1):68,3a,6d,6d,0a,09,5c,00\n", "",
         "user\nTimeFormat=h:mm\\n\\t\\\\\\0\n"},
        {"machine settings beside the user's", "\"DateFormat\"=\"dd.mm.yyyy\"\n",
         "\"DateFormat\"=\"yyyy-mm-dd\"\n", "machine\nDateFormat=yyyy-mm-dd\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(home.file("configdirs/tavrin"));
        home.seedSettings(c.user);
        if (!c.machine.empty()) {
            std::filesystem::create_directories(home.file("configdirs/tavrin"));
            test::writeFile(home.file("configdirs/tavrin/machine.reg"), test::settingsText(c.machine));
        }
        const std::string before = readFile(home.userSettingsFile());
        const CtlRun r = ctl({"settings"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.shown);
        EXPECT_EQ(r.err, "");
        // Showing writes nothing: no defaults filled in, no file rewritten.
        EXPECT_EQ(readFile(home.userSettingsFile()), before);
    }
}

TEST_F(Commands, FormatReadsTheDateTimeAndNamesDaysInTheEnvironmentsLanguage) {
    expectShown("format",
                {
                    {{"ddd dd.mm.yyyy hh:nn:ss", "2000-02-29 23:59:59"}, "Tue 29.02.2000 23:59:59\n"},
                    // The date-time typed without quotes arrives as two words.
                    {{"d mmm", "2005-03-07", "21:05:09"}, "7 Mar\n"},
                    // After "--" a pattern may start with dashes.
                    {{"--", "--hh--", "2005-03-07 21:05:09"}, "--21--\n"},
                });
    // Without a date-time it formats now: some year of this century.
    const CtlRun now = ctl({"format", "yyyy"});
    EXPECT_EQ(now.status, 0);
    EXPECT_EQ(now.out.size(), 5u);
    EXPECT_EQ(now.out.substr(0, 2), "20");
    // Weekdays and months in the language the environment asks for, as the clock shows them.
    test::installedLocaleNames("de_DE.UTF-8");
    test::installedLocaleNames("ja_JP.UTF-8");
    runner.setEnv("LC_ALL", "");
    runner.setEnv("LANG", "C");
    runner.setEnv("LC_TIME", "de_DE.UTF-8");
    expectShown("format", {{{"dddd, d. mmmm yyyy", "2026-12-07 13:05:00"}, "Montag, 7. Dezember 2026\n"}});
    runner.setEnv("LC_ALL", "ja_JP.UTF-8");
    expectShown("format", {{{"yyyy'年'm'月'd'日' dddd", "2026-12-07 13:05:00"}, "2026年12月7日 月曜日\n"}});
}

TEST_F(Commands, ZonesListsEveryZoneOfTheFolderWithItsRuleBlock) {
    const CtlRun r = ctl({"zones"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> lines;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    // Every zone the pinned folder's zone.tab names, and UTC.
    EXPECT_EQ(lines.size(), 18u) << r.out;
    for (const std::string& line : lines) EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 7) << line;
    for (const char* line : {
             "Europe/Berlin\t(GMT+01:00) Berlin, Germany\tCET\tCEST\t-60\t-60\t0-10-0-5 3:0:0\t0-3-0-5 2:0:0",
             "UTC\t(GMT) Coordinated Universal Time\tUTC\tUTC\t0\t0\t0-0-0-0 0:0:0\t0-0-0-0 0:0:0",
         })
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << "missing: " << line;
}

// Each instant is read as now, so its own year's rules give the wall clock and the next change
// (as `TZ=Europe/Berlin date -d "instant UTC"` has it).
TEST_F(Commands, TimeGivesTheWallClockAndNextChangeAtEachInstant) {
    expectShown("time",
                {{{"Europe/Berlin", "2005-03-27 00:59:59", "2005-03-27 01:00:00", "2005-10-30 00:59:59",
                   "2005-10-30 01:00:00"},
                  "2005-03-27 01:59:59\tUTC+01:00 now; clocks go forward 1 h on 27 Mar 2005 at 02:00\n"
                  "2005-03-27 03:00:00\tUTC+02:00 now; clocks go back 1 h on 30 Oct 2005 at 03:00\n"
                  "2005-10-30 02:59:59\tUTC+02:00 now; clocks go back 1 h on 30 Oct 2005 at 03:00\n"
                  "2005-10-30 02:00:00\tUTC+01:00 now; clocks go forward 1 h on 26 Mar 2006 at 02:00\n"}});
    // Without an instant it answers for now, and UTC is known even without a zone folder.
    runner.setEnv("TZDIR", home.file("no-zones-here"));
    const CtlRun now = ctl({"time", "UTC"});
    EXPECT_EQ(now.status, 0) << now.err;
    EXPECT_NE(now.out.find("\tUTC+00:00 now; no clock changes\n"), std::string::npos) << now.out;
}

// The usage text and the man page list the same commands.
TEST_F(Commands, HelpAndTheManPageListEveryCommand) {
    const CtlRun r = ctl({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    const std::string man = readFile(std::string(TAVRIN_SOURCE_DIR) + "/packaging/man/tavrinctl.1.txt");
    for (const char* command :
         {"settings", "format", "zones", "time", "reminders", "--file", "reminders add",
          "none|hourly|daily|weekly", "--body", "reminders delete", "reminders --enable", "--disable"}) {
        EXPECT_NE(r.out.find(command), std::string::npos) << "--help lacks " << command;
        EXPECT_NE(man.find(command), std::string::npos) << "the man page lacks " << command;
    }
}

// A command line that is not understood: the reason and a usage text on stderr, nothing on stdout,
// status 2, and nothing written.
TEST_F(Commands, BadArgumentsGiveAUsageMessageAndStatus2) {
    const struct {
        const char* what;
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {"no command", {}, "no command given"},
        {"an unknown command", {"setings"}, "unknown command 'setings'"},
        {"an argument to settings", {"settings", "--all"}, "'settings' takes no arguments"},
        {"format without a pattern", {"format"}, "needs a pattern"},
        {"format with an option", {"format", "--utc", "hh:nn"}, "unknown option '--utc'"},
        {"format with too many words", {"format", "d", "2005-03-07", "21:05:00", "x"}, "one date-time"},
        {"format with no date-time", {"format", "d", "2005-02-30 00:00:00"}, "is not a date-time"},
        {"time without a zone", {"time"}, "needs a zone"},
        {"time in a zone that does not exist", {"time", "Europe/Atlantis"}, "no zone 'Europe/Atlantis'"},
        {"time in a zone named by a folder", {"time", "Europe"}, "no zone 'Europe'"},
        {"time at no instant", {"time", "UTC", "yesterday"}, "'yesterday' is not a UTC instant"},
        {"reminders with an unknown option", {"reminders", "--all"}, "'--all' is not understood"},
        {"reminders --file without a path", {"reminders", "--file"}, "--file needs a path"},
        {"add without a time", {"reminders", "add", "Hi", "07.03.2005"}, "a title, a date and a time"},
        {"add with an unknown option",
         {"reminders", "add", "Hi", "07.03.2005", "9:30", "--colour", "red"},
         "unknown option '--colour'"},
        {"add with an unknown recurrence",
         {"reminders", "add", "Hi", "07.03.2005", "9:30", "--recur", "monthly"},
         "--recur takes none"},
        {"--body without its text",
         {"reminders", "add", "Hi", "07.03.2005", "9:30", "--body"},
         "--body needs a value"},
        {"an unreadable date",
         {"reminders", "add", "Hi", "the 7th", "9:30"},
         "\"the 7th\" cannot be read as a date (the date format is dd.mm.yyyy)"},
        {"an unreadable time",
         {"reminders", "add", "Hi", "07.03.2005", "half past"},
         "cannot be read as a time"},
        {"delete without a number", {"reminders", "delete"}, "one reminder number"},
        {"a negative number", {"reminders", "--enable", "-1"}, "\"-1\" is no reminder number"},
    };
    home.seedSettings("\"DateFormat\"=\"dd.mm.yyyy\"\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CtlRun r = ctl(c.args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("Usage: tavrinctl"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(home.reminderFile()));
}

// A well-formed request that cannot be done: its reason on stderr, status 1, no usage text.
TEST_F(Commands, FailedRequestsSayWhyWithStatus1) {
    std::filesystem::create_directories(home.file("a-folder"));
    const struct {
        const char* what;
        std::vector<std::string> args;
        const char* tzdir;  // nullptr for the pinned folder
        const char* says;
    } cases[] = {
        {"settings before the first start", {"settings"}, nullptr, "has not been set up"},
        {"a reminder file that is a folder",
         {"reminders", "--file", home.file("a-folder")},
         nullptr,
         "Cannot read the reminder file"},
        {"a change to a reminder file that is a folder",
         {"reminders", "delete", "0", "--file", home.file("a-folder")},
         nullptr,
         "Cannot read the reminder file"},
        {"zones without a zone folder", {"zones"}, "/nonexistent-zones", "cannot be read: No such file"},
        {"time without a zone folder", {"time", "Europe/Berlin"}, "/nonexistent-zones", "cannot be read"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        runner.setEnv("TZDIR", c.tzdir ? c.tzdir : std::string(TAVRIN_TEST_DATA) + "/zoneinfo");
        const CtlRun r = ctl(c.args);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("Usage:"), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace tavrin
