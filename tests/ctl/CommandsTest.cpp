// tavrinctl run as a user runs it, against the tests' pinned zone folder and settings and reminders
// the test writes, checking what the user sees: what each command prints, its usage text and its
// exit statuses. The rules behind the answers (patterns, zone rules, clock changes, what a reminder
// may hold) are the core's and tested there; here, that each command reads its arguments and
// environment, reaches the rule, and says how it went.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/calendars/CalendarCache.h"
#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderRecord.h"
#include "core/reminders/ReminderUpdate.h"
#include "support/FileText.h"
#include "support/InstalledLocale.h"
#include "support/ReminderTestSupport.h"
#include "support/ScratchHome.h"

namespace tavrin {
namespace {

using test::readFile;
using test::writeFile;

// tavrinctl itself in a child process, in an environment the test sets up, with what it prints on
// each stream and its exit status.
struct CtlRun {
    int status = -1;  // the exit status; -1 when the program did not exit (a crash)
    std::string out, err;
};

class CtlRunner {
  public:
    // The user's folders are `home`'s; zones come from the tests' pinned folder.
    explicit CtlRunner(const test::ScratchHome& home) : home_(home) {
        for (const auto& [name, value] : home.environment()) env_[name] = value;
        // English names whatever language the tester's own session uses; a test sets another.
        env_["LC_ALL"] = "C";
    }

    void setEnv(const std::string& name, const std::string& value) { env_[name] = value; }

    CtlRun run(std::vector<std::string> args) const {
        const std::string outFile = home_.file("ctl-out"), errFile = home_.file("ctl-err");
        const std::string program = std::string(TAVRIN_BINARY_DIR) + "/src/tavrinctl";
        const pid_t child = ::fork();
        if (child == 0) {
            for (const auto& [name, value] : env_) ::setenv(name.c_str(), value.c_str(), 1);
            if (!::freopen("/dev/null", "r", stdin) || !::freopen(outFile.c_str(), "w", stdout) ||
                !::freopen(errFile.c_str(), "w", stderr))
                ::_exit(120);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        CtlRun r;
        int status = 0;
        if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status))
            r.status = WEXITSTATUS(status);
        r.out = readFile(outFile);
        r.err = readFile(errFile);
        return r;
    }

  private:
    const test::ScratchHome& home_;
    std::map<std::string, std::string> env_;
};

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
    CtlRunner runner{home};
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

// Every chosen zone (your own first) at a time read in your zone or another, marked in working hours
// (read from the settings); with --find, the stretches of the following week in which all are at work.
TEST_F(Commands, PlanShowsEveryZoneAtAMomentAndFindsCommonWorkingTimes) {
    home.seedSettings(
        "\"NumTimeZones\"=\"2\"\n\"TZone1\"=\"America/New_York\"\n\"TZone2\"=\"UTC\"\n"
        "\"WorkingHours\"=\"08:00-18:00\"\n");
    runner.setEnv("TZ", "Europe/Berlin");
    expectShown("plan",
                {
                    {{"2026-12-08", "09:00", "--from", "new york"},
                     "2026-12-08 15:00 Tue\tEurope/Berlin (here)\tworking hours\n"
                     "2026-12-08 09:00 Tue\tAmerica/New_York\tworking hours\n"
                     "2026-12-08 14:00 Tue\tUTC\tworking hours\n"},
                    // Friday's and the next Friday's stretches are cut short by the start and the week's end.
                    {{"2026-12-11 16:00", "--find", "3"},
                     "2026-12-11 16:00 Fri\tEurope/Berlin (here)\tworking hours\n"
                     "2026-12-11 10:00 Fri\tAmerica/New_York\tworking hours\n"
                     "2026-12-11 15:00 Fri\tUTC\tworking hours\n"
                     "\nTimes for 3 h inside everyone's working hours (08:00-18:00, Monday to Friday in each "
                     "zone) in the week from then, in Europe/Berlin:\n"
                     "2026-12-14 Mon 14:00 - 18:00\n2026-12-15 Tue 14:00 - 18:00\n"
                     "2026-12-16 Wed 14:00 - 18:00\n2026-12-17 Thu 14:00 - 18:00\n"},
                });
    // An hour that comes twice is taken the first time, and said so.
    const CtlRun twice = ctl({"plan", "2026-10-25 02:30"});
    EXPECT_NE(twice.err.find("comes twice in Europe/Berlin; taking the first"), std::string::npos)
        << twice.err;
}

// The usage text and the man page list the same commands.
TEST_F(Commands, HelpAndTheManPageListEveryCommand) {
    const CtlRun r = ctl({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    const std::string man = readFile(std::string(TAVRIN_SOURCE_DIR) + "/packaging/man/tavrinctl.1.txt");
    for (const char* command : {"settings",
                                "format",
                                "zones",
                                "time",
                                "plan",
                                "--from",
                                "--find",
                                "reminders",
                                "--file",
                                "reminders add",
                                "none|hourly|daily|weekly",
                                "--body",
                                "reminders delete",
                                "reminders --enable",
                                "reminders export",
                                "reminders import",
                                "--disable",
                                "events",
                                "--days",
                                "calendars list",
                                "calendars remove",
                                "sync setup",
                                "--off"}) {
        EXPECT_NE(r.out.find(command), std::string::npos) << "--help lacks " << command;
        EXPECT_NE(man.find(command), std::string::npos) << "the man page lacks " << command;
    }
}

// A command line that is not understood: the reason and a usage text on stderr, nothing on stdout,
// status 2, and nothing written.
TEST_F(Commands, BadArgumentsGiveAUsageMessageAndStatus2) {
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{}, "no command given"},
        {{"setings"}, "unknown command 'setings'"},
        {{"settings", "--all"}, "'settings' takes no arguments"},
        {{"format"}, "needs a pattern"},
        {{"format", "--utc", "hh:nn"}, "unknown option '--utc'"},
        {{"format", "d", "2005-03-07", "21:05:00", "x"}, "one date-time"},
        {{"format", "d", "2005-02-30 00:00:00"}, "is not a date-time"},
        {{"time"}, "needs a zone"},
        {{"time", "Europe/Atlantis"}, "no zone 'Europe/Atlantis'"},
        {{"time", "Europe"}, "no zone 'Europe'"},
        {{"time", "UTC", "yesterday"}, "'yesterday' is not a UTC instant"},
        {{"plan"}, "'plan' needs a date and time"},
        {{"plan", "tomorrow"}, "'tomorrow' is not a date and time"},
        {{"plan", "2026-12-08 15:00", "--find", "1.1"}, "--find takes hours"},
        {{"plan", "2026-12-08 15:00", "--from", "Atlantis"}, "no zone 'Atlantis'"},
        {{"reminders", "--all"}, "'--all' is not understood"},
        {{"reminders", "--file"}, "--file needs a path"},
        {{"reminders", "add", "Hi", "07.03.2005"}, "a title, a date and a time"},
        {{"reminders", "add", "Hi", "07.03.2005", "9:30", "--colour", "red"}, "unknown option '--colour'"},
        {{"reminders", "add", "Hi", "07.03.2005", "9:30", "--recur", "monthly"}, "--recur takes none"},
        {{"reminders", "add", "Hi", "07.03.2005", "9:30", "--body"}, "--body needs a value"},
        {{"reminders", "add", "Hi", "the 7th", "9:30"},
         "\"the 7th\" cannot be read as a date (the date format is dd.mm.yyyy)"},
        {{"reminders", "add", "Hi", "07.03.2005", "half past"}, "cannot be read as a time"},
        {{"reminders", "delete"}, "one reminder number"},
        {{"reminders", "--enable", "-1"}, "\"-1\" is no reminder number"},
        {{"events", "--from", "5.3.2024"}, "'5.3.2024' is not a date of the form YYYY-MM-DD"},
        {{"events", "--days", "0"}, "--days takes a number of days from 1 to"},
        {{"events", "--days"}, "--days needs a value"},
        {{"events", "today"}, "'today' is not understood"},
        {{"calendars"}, "needs list or remove N"},
        {{"calendars", "remove", "x"}, "\"x\" is no calendar number"},
    };
    home.seedSettings("\"DateFormat\"=\"dd.mm.yyyy\"\n");
    runner.setEnv("TZ", "Europe/Berlin");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
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
        std::vector<std::string> args;
        const char* tzdir;  // nullptr for the pinned folder
        const char* says;
    } cases[] = {
        {{"settings"}, nullptr, "has not been set up"},
        {{"reminders", "--file", home.file("a-folder")}, nullptr, "Cannot read the reminder file"},
        {{"reminders", "delete", "0", "--file", home.file("a-folder")},
         nullptr,
         "Cannot read the reminder file"},
        {{"zones"}, "/nonexistent-zones", "cannot be read: No such file"},
        {{"time", "Europe/Berlin"}, "/nonexistent-zones", "cannot be read"},
        {{"plan", "2026-03-29 02:30"},
         nullptr,
         "2026-03-29 02:30 does not exist in Europe/Berlin: the clocks go from UTC+01:00 to UTC+02:00 at "
         "02:00"},
    };
    runner.setEnv("TZ", "Europe/Berlin");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : std::string()));
        runner.setEnv("TZDIR", c.tzdir ? c.tzdir : std::string(TAVRIN_TEST_DATA) + "/zoneinfo");
        const CtlRun r = ctl(c.args);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("Usage:"), std::string::npos) << r.err;
    }
}

// What the calendars' cache holds, listed in the machine's zone; a calendar switched off is not.
TEST_F(Commands, EventsAndCalendarsShowTheCacheInTheUsersZone) {
    runner.setEnv("TZ", "Europe/Berlin");
    home.seedSettings(
        "[SOFTWARE\\QUILLON\\TAVRIN\\Calendars]\n\"Order\"=\"w,h\"\n"
        "[SOFTWARE\\QUILLON\\TAVRIN\\Calendars\\w]\n\"Name\"=\"Work\"\n\"Address\"=\"https://dav.example/w/"
        "\"\n"
        "\"Source\"=\"caldav\"\n\"Colour\"=\"#3465A4\"\n\"Enabled\"=\"1\"\n"
        "[SOFTWARE\\QUILLON\\TAVRIN\\Calendars\\h]\n\"Name\"=\"Home\"\n\"Address\"=\"/h.ics\"\n"
        "\"Source\"=\"file\"\n\"Colour\"=\"#00FF00\"\n\"Enabled\"=\"0\"\n");
    const auto ics = [](const std::string& event) {
        return "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\n" + event + "END:VEVENT\r\nEND:VCALENDAR\r\n";
    };
    CalendarCache cache(home.file("cache/tavrin/calendars"));
    CachedCalendar work;
    work.resources["/w/1.ics"] = {
        "", ics("UID:1\r\nSUMMARY:Call\\, NY\r\nDTSTART;TZID=America/New_York:20240305T090000\r\n"
                "DTEND;TZID=America/New_York:20240305T100000\r\n")};
    work.resources["/w/2.ics"] = {"", ics("UID:2\r\nSUMMARY:Fair\r\nDTSTART;VALUE=DATE:20240306\r\n"
                                          "DTEND;VALUE=DATE:20240308\r\n")};
    work.resources["/w/3.ics"] = {"", ics("UID:3\r\nSUMMARY:Later\r\nDTSTART:20240309T120000Z\r\n")};
    work.fetchedAt = 1709640000;  // 2024-03-05 12:00 UTC
    CachedCalendar home_;
    home_.resources["/h.ics"] = {"", ics("UID:4\r\nSUMMARY:Off\r\nDTSTART:20240305T120000Z\r\n")};
    home_.lastFailure = "cannot read /h.ics: No such file or directory";
    home_.failedAt = 1709640060;
    ASSERT_TRUE(cache.write("w", work));
    ASSERT_TRUE(cache.write("h", home_));
    expectShown("events", {{{"--from", "2024-03-05", "--days", "3"},
                            "2024-03-05 15:00\t2024-03-05 16:00\tCall, NY\tWork\n"
                            "2024-03-06\t2024-03-07\tFair\tWork\n"}});
    expectShown("calendars", {{{"list"},
                               "1\tWork\thttps://dav.example/w/\ton\tfetched 2024-03-05 13:00\n"
                               "2\tHome\t/h.ics\toff\tfailed 2024-03-05 13:01: cannot read /h.ics: No such "
                               "file or directory\n"}});
    expectShown("calendars", {{{"remove", "1"}, "removed calendar 1 (Work)\n"}});
    EXPECT_FALSE(std::filesystem::exists(cache.fileOf("w")));
    EXPECT_EQ(ctl({"calendars", "remove", "2"}).err, "tavrinctl: there is no calendar 2 (there are 1)\n");
}

// tavrinctl reminders, add, delete, --enable and --disable, run as a user runs them, and beside a
// running clock's own saves. What a reminder may hold is the editor's rule (tested in the core);
// here, that the command reaches it, in the user's date format and file, and says how it went.
class RemindersCommand : public ::testing::Test {
  protected:
    // tavrinctl reminders with `args`, on the file of this test's user.
    CtlRun ctl(std::vector<std::string> args) {
        args.insert(args.begin(), "reminders");
        return runner.run(std::move(args));
    }

    ReminderTable load() {
        ReminderTable t;
        EXPECT_TRUE(readReminders(t, path).ok());
        return t;
    }

    test::ScratchHome home;
    CtlRunner runner{home};
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
    EXPECT_EQ(load().enabled[1], "0");
    EXPECT_EQ(ctl({"--enable", "1"}).status, 0);
    EXPECT_EQ(load().enabled[1], "1");
    EXPECT_EQ(ctl({"delete", "0"}).status, 0);
    EXPECT_EQ(load().titles[0], "--call");
    EXPECT_EQ(occupiedSlots(load()), 1);
}

// Each refusal names its reason, exits with status 1 and leaves the file exactly as it was.
TEST_F(RemindersCommand, RefusalsSayWhyAndLeaveTheFileUntouched) {
    std::string full;
    for (int i = 0; i < kReminderSlots; ++i) full += test::recordText("R" + std::to_string(i));
    const struct {
        std::string file;
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {"", {"add", "Say \"hi\"", "03/07/05", "9:30"}, "double quote"},
        {full, {"add", "One more", "03/07/05", "9:30"}, "already holds 256"},
        {full, {"delete", "256"}, "there is no reminder 256"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
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
                kept = t.bodies[0] == (saves == 0 ? "" : std::to_string(saves));
                t.bodies[0] = std::to_string(saves + 1);
                return true;
            });
            if (!saved.ok()) ::_exit(3);
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
    EXPECT_EQ(last.titles[0], "Clock");
    EXPECT_EQ(last.bodies[0], readFile(countFile));
    std::set<std::string> titles(last.titles.begin() + 1, last.titles.begin() + occupiedSlots(last));
    for (int i = 0; i < kAdds; ++i)
        EXPECT_EQ(titles.count("B-" + std::to_string(i)), 1u) << "B-" << i << " lost";
}

// An export read into an empty second data folder gives the same reminders; an import names each
// event it leaves out and why, adds nothing twice, and says which did not fit a full file.
TEST_F(RemindersCommand, ExportAndImportCarryTheRemindersThroughAnIcsFile) {
    runner.setEnv("TZ", "Europe/Berlin");
    home.seedSettings("\"DateFormat\"=\"dd.mm.yyyy\"\n");
    home.seedReminders(test::recordText("Tea", "24.12.2026", "17:00:00", "1") +
                       test::recordText("Gap", "29.03.2026", "02:30:00", "2") +
                       test::recordText("Bad", "soon"));
    const std::string ics = home.file("reminders.ics");
    const CtlRun exported = ctl({"export", ics});
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out.substr(0, exported.out.find('\n')), "Exported 2 reminders.");
    EXPECT_NE(exported.out.find("not exported: the reminder \"Bad\""), std::string::npos) << exported.out;

    test::ScratchHome other("tavrin-other");
    CtlRunner otherRunner(other);
    otherRunner.setEnv("TZ", "Europe/Berlin");
    other.seedSettings("\"DateFormat\"=\"dd.mm.yyyy\"\n");
    const CtlRun imported = otherRunner.run({"reminders", "import", ics});
    EXPECT_EQ(imported.status, 0) << imported.err;
    ReminderTable copy;
    ASSERT_TRUE(readReminders(copy, other.reminderFile()).ok());
    ASSERT_EQ(occupiedSlots(copy), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(ReminderRecord::fromSlot(copy, i), ReminderRecord::fromSlot(load(), i));
    EXPECT_EQ(otherRunner.run({"reminders", "import", ics}).out,
              "Added 0 reminders; 2 events were there already.\n");

    const std::string phone = home.file("phone.ics");
    writeFile(phone,
              "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//phone//EN\r\n"
              "BEGIN:VEVENT\r\nUID:r\r\nSUMMARY:Rent\r\nDTSTART:20270101T090000Z\r\nRRULE:FREQ="
              "MONTHLY\r\nEND:VEVENT\r\n"
              "BEGIN:VEVENT\r\nUID:n\r\nSUMMARY:New\r\nDTSTART:20270101T090000Z\r\nEND:VEVENT\r\nEND:"
              "VCALENDAR\r\n");
    std::string full;
    for (int i = 0; i < kReminderSlots; ++i) full += test::recordText("R" + std::to_string(i));
    home.seedReminders(full);
    const CtlRun refused = ctl({"import", phone});
    EXPECT_EQ(refused.status, 0) << refused.err;
    EXPECT_EQ(refused.out,
              "Added 0 reminders.\n"
              "not added: the event \"Rent\" cannot be a reminder: it has a monthly rule, which a reminder "
              "cannot repeat\n"
              "not added: the event \"New\" did not fit, as the reminder file already holds 256 reminders\n");
    EXPECT_EQ(readFile(path), full);
    const CtlRun notCalendar = ctl({"import", path});
    EXPECT_EQ(notCalendar.status, 1);
    EXPECT_NE(notCalendar.err.find("no iCalendar"), std::string::npos) << notCalendar.err;
}

}  // namespace
}  // namespace tavrin
