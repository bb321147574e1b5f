// tavrinctl settings, format, zones, time and the reminder list, run as a user runs them: against the
// tests' pinned zone folder and a settings file the test writes, checking what the user sees.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/CtlRunner.h"
#include "support/FileText.h"
#include "support/InstalledLocale.h"
#include "support/TempDir.h"

namespace tavrin {
namespace {

using test::CtlRun;
using test::readFile;
using test::writeFile;

class Commands : public ::testing::Test {
  protected:
    CtlRun ctl(std::vector<std::string> args) { return runner.run(std::move(args)); }

    // Writes a per-user settings file holding `values` under the settings key.
    void seedUserSettings(const std::string& values) { seed("config", "user.reg", values); }
    void seedMachineSettings(const std::string& values) { seed("configdirs", "machine.reg", values); }
    std::string userSettingsFile() const { return dir.file("config/tavrin/user.reg"); }

    // One run of `command` with `args` and all that it prints on stdout; stderr stays empty.
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

    test::TempDir dir;
    test::CtlRunner runner{dir};

  private:
    void seed(const std::string& folder, const std::string& name, const std::string& values) {
        std::filesystem::create_directories(dir.file(folder + "/tavrin"));
        writeFile(dir.file(folder + "/tavrin/" + name),
                  "REGEDIT4\r\n\r\n[Software\\Quillon\\Tavrin]\r\n" + values);
    }
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST_F(Commands, SettingsShowsTheChosenRootAndEveryValueOnItsOwnLine) {
    const struct {
        const char* what;
        std::string user, machine;
        std::string shown;
    } cases[] = {
        {"user settings only", "@=\"Tavrin\"\r\n\"DateFormat\"=\"dd.mm.yyyy\"\r\n", "",
         "user\n@=Tavrin\nDateFormat=dd.mm.yyyy\n"},
        // Line breaks, tabs, backslashes and the NUL another program left at the end stay on the line.
        {"a value with control bytes", "\"TimeFormat\"=hex(1):68,3a,6d,6d,0a,09,5c,00\r\n", "",
         "user\nTimeFormat=h:mm\\n\\t\\\\\\0\n"},
        {"8-bit text as stored", "\"BGPicture\"=\"M\xfcnchen.jpg\"\r\n", "",
         "user\nBGPicture=M\xfcnchen.jpg\n"},
        {"machine settings beside the user's", "\"DateFormat\"=\"dd.mm.yyyy\"\r\n",
         "\"DateFormat\"=\"yyyy-mm-dd\"\r\n", "machine\nDateFormat=yyyy-mm-dd\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(dir.file("config"));
        std::filesystem::remove_all(dir.file("configdirs"));
        seedUserSettings(c.user);
        if (!c.machine.empty()) seedMachineSettings(c.machine);
        const std::string before = readFile(userSettingsFile());
        const CtlRun r = ctl({"settings"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.shown);
        EXPECT_EQ(r.err, "");
        // Showing writes nothing: no defaults filled in, no file rewritten.
        EXPECT_EQ(readFile(userSettingsFile()), before);
    }
}

TEST_F(Commands, FormatWritesTheDateTimeInTheClocksPatterns) {
    expectShown("format",
                {
                    // The patterns themselves are the formatter's (tested in the core); here the
                    // date-time argument is read, a leap day among them.
                    {{"h:mm AM/PM", "2005-03-07 21:05:09"}, "9:05 PM\n"},
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
}

// Weekdays and months in the language the environment asks for, as the clock shows them; patterns
// without names, and the C locale, as ever.
TEST_F(Commands, FormatNamesWeekdaysAndMonthsInTheEnvironmentsLanguage) {
    const struct {
        const char *lcAll, *lcTime, *pattern, *out;
    } cases[] = {
        {"de_DE.UTF-8", "", "dddd, d. mmmm yyyy 'um' HH:mm 'Uhr'", "Montag, 7. Dezember 2026 um 13:05 Uhr\n"},
        {"", "ja_JP.UTF-8", "yyyy'年'm'月'd'日' dddd", "2026年12月7日 月曜日\n"},
        {"", "de_DE.UTF-8", "mm/dd/yy h:mm AM/PM", "12/07/26 1:05 PM\n"},
        {"C", "de_DE.UTF-8", "dddd d mmmm", "Monday 7 December\n"},
    };
    test::installedLocaleNames("de_DE.UTF-8");
    test::installedLocaleNames("ja_JP.UTF-8");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lcAll) + "/" + c.lcTime);
        runner.setEnv("LC_ALL", c.lcAll);
        runner.setEnv("LC_TIME", c.lcTime);
        runner.setEnv("LANG", "C");
        const CtlRun r = ctl({"format", c.pattern, "2026-12-07 13:05:00"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
    }
}

TEST_F(Commands, ZonesListsEveryZoneOfTheFolderWithItsRuleBlock) {
    const CtlRun r = ctl({"zones"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = linesOf(r.out);
    // Every zone the pinned folder's zone.tab names, and UTC.
    EXPECT_EQ(lines.size(), 18u) << r.out;
    for (const std::string& line : lines) EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 7) << line;
    // Zones whose rules are the same every year give the same line in any year.
    for (const char* line : {
             "Europe/Berlin\t(GMT+01:00) Berlin, Germany\tCET\tCEST\t-60\t-60\t0-10-0-5 3:0:0\t0-3-0-5 2:0:0",
             "America/New_York\t(GMT-05:00) New York, United States\tEST\tEDT\t300\t-60\t0-11-0-1 "
             "2:0:0\t0-3-0-2 2:0:0",
             "Australia/Lord_Howe\t(GMT+10:30) Lord Howe, Australia\t+1030\t+11\t-630\t-30\t0-4-0-1 "
             "2:0:0\t0-10-0-1 2:0:0",
             "Pacific/Chatham\t(GMT+12:45) Chatham, New Zealand\t+1245\t+1345\t-765\t-60\t0-4-0-1 "
             "3:45:0\t0-9-0-5 2:45:0",
             "Asia/Kathmandu\t(GMT+05:45) Kathmandu, Nepal\t+0545\t+0545\t-345\t0\t0-0-0-0 0:0:0\t0-0-0-0 "
             "0:0:0",
             "America/Argentina/Buenos_Aires\t(GMT-03:00) Buenos Aires, Argentina\t-03\t-03\t180\t0\t0-0-0-0 "
             "0:0:0\t0-0-0-0 0:0:0",
             "UTC\t(GMT) Coordinated Universal Time\tUTC\tUTC\t0\t0\t0-0-0-0 0:0:0\t0-0-0-0 0:0:0",
         })
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << "missing: " << line;
}

// Each wall-clock time agrees with `TZ=zone date -d "instant UTC"` on the system's own database.
TEST_F(Commands, TimeGivesTheWallClockAndNextChangeAtEachInstant) {
    expectShown("time",
                {
                    {{"Europe/Berlin", "2005-03-27 00:59:59", "2005-03-27 01:00:00", "2005-10-30 00:59:59",
                      "2005-10-30 01:00:00"},
                     "2005-03-27 01:59:59\tUTC+01:00 now; clocks go forward 1 h on 27 Mar 2005 at 02:00\n"
                     "2005-03-27 03:00:00\tUTC+02:00 now; clocks go back 1 h on 30 Oct 2005 at 03:00\n"
                     "2005-10-30 02:59:59\tUTC+02:00 now; clocks go back 1 h on 30 Oct 2005 at 03:00\n"
                     "2005-10-30 02:00:00\tUTC+01:00 now; clocks go forward 1 h on 26 Mar 2006 at 02:00\n"},
                    {{"America/New_York", "2024-03-10 06:59:59", "2024-03-10 07:00:00"},
                     "2024-03-10 01:59:59\tUTC-05:00 now; clocks go forward 1 h on 10 Mar 2024 at 02:00\n"
                     "2024-03-10 03:00:00\tUTC-04:00 now; clocks go back 1 h on 3 Nov 2024 at 02:00\n"},
                    {{"Australia/Lord_Howe", "2024-04-06 14:59:59", "2024-04-06 15:00:00"},
                     "2024-04-07 01:59:59\tUTC+11:00 now; clocks go back 30 min on 7 Apr 2024 at 02:00\n"
                     "2024-04-07 01:30:00\tUTC+10:30 now; clocks go forward 30 min on 6 Oct 2024 at 02:00\n"},
                    {{"Pacific/Chatham", "2024-04-06 13:59:59", "2024-04-06 14:00:00"},
                     "2024-04-07 03:44:59\tUTC+13:45 now; clocks go back 1 h on 7 Apr 2024 at 03:45\n"
                     "2024-04-07 02:45:00\tUTC+12:45 now; clocks go forward 1 h on 29 Sep 2024 at 02:45\n"},
                    {{"Asia/Kathmandu", "2024-01-01 00:00:00"},
                     "2024-01-01 05:45:00\tUTC+05:45 now; no clock changes\n"},
                });
    // Without an instant it answers for now, and UTC is known even without a zone folder.
    runner.setEnv("TZDIR", dir.file("no-zones-here"));
    const CtlRun now = ctl({"time", "UTC"});
    EXPECT_EQ(now.status, 0) << now.err;
    EXPECT_NE(now.out.find("\tUTC+00:00 now; no clock changes\n"), std::string::npos) << now.out;
}

TEST_F(Commands, RemindersAreAddedAndListedInTheUsersDateFormatAndFile) {
    seedUserSettings("\"DateFormat\"=\"dd.mm.yyyy\"\r\n");
    EXPECT_EQ(ctl({"reminders", "add", "Dentist", "07.03.2005", "21:05", "--body", "Bring\tthe card"}).out,
              "added as 0\n");
    // A date typed with slashes is still read day first, and stored in the user's format.
    EXPECT_EQ(ctl({"reminders", "add", "Call", "03/07/05", "9:30 AM", "--recur", "daily"}).status, 0);
    const CtlRun listed = ctl({"reminders"});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out,
              "0\tDentist\t07.03.2005\t21:05:00\t1\t-1\tBring\\tthe card\n"
              "1\tCall\t03.07.2005\t09:30:00\t1\t1\t\n");
    EXPECT_NE(readFile(dir.file("data/tavrin/Tavrin.DAT")).find("Dentist"), std::string::npos);
    const CtlRun disabled = ctl({"reminders", "--disable", "0"});
    EXPECT_EQ(disabled.out, "disabled\n");
    EXPECT_EQ(ctl({"reminders", "--disable", "0"}).out, "disabled already\n");
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
        {"an argument to zones", {"zones", "Europe"}, "'zones' takes no arguments"},
        {"format without a pattern", {"format"}, "needs a pattern"},
        {"format with an option", {"format", "--utc", "hh:nn"}, "unknown option '--utc'"},
        {"format with too many words", {"format", "d", "2005-03-07", "21:05:00", "x"}, "one date-time"},
        {"format with no date-time", {"format", "d", "2005-02-30 00:00:00"}, "is not a date-time"},
        {"time without a zone", {"time"}, "needs a zone"},
        {"time in a zone that does not exist", {"time", "Europe/Atlantis"}, "no zone 'Europe/Atlantis'"},
        {"time in a zone named by a folder", {"time", "Europe"}, "no zone 'Europe'"},
        {"time in an empty zone name", {"time", ""}, "no zone ''"},
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
        {"delete without a number", {"reminders", "delete"}, "one reminder number"},
        {"delete of no number", {"reminders", "delete", "first"}, "\"first\" is no reminder number"},
        {"a negative number", {"reminders", "--enable", "-1"}, "\"-1\" is no reminder number"},
        {"--disable without a number", {"reminders", "--disable"}, "--disable needs a value"},
    };
    seedUserSettings("\"DateFormat\"=\"dd.mm.yyyy\"\r\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CtlRun r = ctl(c.args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("Usage: tavrinctl"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("data/tavrin/Tavrin.DAT")));
}

// A well-formed request that cannot be done: its reason on stderr, status 1, no usage text.
TEST_F(Commands, FailedRequestsSayWhyWithStatus1) {
    std::filesystem::create_directories(dir.file("a-folder"));
    const struct {
        const char* what;
        std::vector<std::string> args;
        const char* tzdir;  // nullptr for the pinned folder
        const char* says;
    } cases[] = {
        {"settings before the first start", {"settings"}, nullptr, "has not been set up"},
        {"a reminder file that is a folder",
         {"reminders", "--file", dir.file("a-folder")},
         nullptr,
         "Cannot read the reminder file"},
        {"a change to a reminder file that is a folder",
         {"reminders", "delete", "0", "--file", dir.file("a-folder")},
         nullptr,
         "Cannot read the reminder file"},
        {"a reminder that is not there", {"reminders", "delete", "0"}, nullptr, "there is no reminder 0"},
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
