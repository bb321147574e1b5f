// tavrinctl's calendar commands as a user runs them, against the servers of ctest's calendar fixture:
// a CalDAV server's calendar found from the server's address, its password kept out of the settings,
// and each fetch's outcome said. What a fetch does is the fetcher's and tested with it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "support/CalendarServers.h"
#include "support/FileText.h"
#include "support/ScratchHome.h"

namespace tavrin {
namespace {

struct CtlOutcome {
    int status;
    std::string out, err;
};

CtlOutcome ctl(const test::ScratchHome& home, const std::string& args, const std::string& extra = "") {
    std::string command = "env LC_ALL=C DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent " + extra;
    for (const auto& [name, value] : home.environment()) command += " " + name + "='" + value + "'";
    command += " " + std::string(TAVRIN_BINARY_DIR) + "/src/tavrinctl " + args + " </dev/null >" +
               home.file("out") + " 2>" + home.file("err");
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::readFile(home.file("out")),
            test::readFile(home.file("err"))};
}

TEST(CalendarCommands, AddFindsTheServersCalendarAndRefreshUsesTheKeptPassword) {
    const test::CalendarServers servers;
    if (servers["RADICALE"].empty()) GTEST_SKIP() << "radicale is not installed (tools/setup.sh installs it)";
    // A weekly event in Berlin without its second week, an all-day event and one in Tokyo, shown in
    // Berlin: Tokyo's 18:00 is Berlin's 10:00 in winter and 11:00 in summer, as the C library says.
    const test::TzVariable berlin("Europe/Berlin");
    using test::dayFromToday, test::eventResource;
    ASSERT_TRUE(
        servers.putEvent("bob", "weekly.ics",
                         eventResource("weekly", "DTSTART;TZID=Europe/Berlin:" + dayFromToday(1) +
                                                     "T090000\r\nDURATION:PT1H\r\nRRULE:FREQ=WEEKLY\r\n"
                                                     "EXDATE;TZID=Europe/Berlin:" +
                                                     dayFromToday(8) + "T090000\r\nSUMMARY:Stand-up\r\n")));
    ASSERT_TRUE(servers.putEvent(
        "bob", "holiday.ics",
        eventResource("holiday", "DTSTART;VALUE=DATE:" + dayFromToday(2) + "\r\nSUMMARY:Holiday\r\n")));
    ASSERT_TRUE(servers.putEvent("bob", "tokyo.ics",
                                 eventResource("tokyo", "DTSTART;TZID=Asia/Tokyo:" + dayFromToday(3) +
                                                            "T180000\r\nDURATION:PT1H\r\nSUMMARY:Call\r\n")));
    const std::string tokyoHour = [] {  // 18:00 in Tokyo is 09:00 UTC
        tm at{};
        ::strptime((dayFromToday(3, "%Y-%m-%d") + " 09:00").c_str(), "%Y-%m-%d %H:%M", &at);
        const time_t utc = ::timegm(&at);
        tm local{};
        ::localtime_r(&utc, &local);
        char text[8];
        ::strftime(text, sizeof text, "%H", &local);
        return std::string(text);
    }();
    const test::ScratchHome home;
    const CtlOutcome added =
        ctl(home, "calendars add " + servers["RADICALE"] + " --user bob", "TAVRIN_PASSWORD=bob-pw");
    EXPECT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(added.out, "added Work (caldav, " + servers["RADICALE"] + "/bob/work/): 3 events, updated\n");
    // No keyring in a test: the password goes to a file of the user's alone, and the user is told.
    EXPECT_NE(added.err.find("readable by you alone"), std::string::npos) << added.err;
    struct stat info {};
    ASSERT_EQ(::stat(home.file("data/tavrin/passwords").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(test::readFile(home.userSettingsFile()).find("bob-pw"), std::string::npos);

    const CtlOutcome refreshed = ctl(home, "calendars refresh");
    EXPECT_EQ(refreshed.status, 0) << refreshed.err;
    EXPECT_EQ(refreshed.out, "Work: 3 events, unchanged\n");

    const CtlOutcome events = ctl(home, "events --days 21", "TZ=Europe/Berlin");
    EXPECT_EQ(events.status, 0) << events.err;
    const auto day = [](int offset) { return dayFromToday(offset, "%Y-%m-%d"); };
    EXPECT_EQ(events.out, day(1) + " 09:00\t" + day(1) + " 10:00\tStand-up\tWork\n" + day(2) + "\t" + day(2) +
                              "\tHoliday\tWork\n" + day(3) + " " + tokyoHour + ":00\t" + day(3) + " " +
                              std::to_string(std::stoi(tokyoHour) + 1) + ":00\tCall\tWork\n" + day(15) +
                              " 09:00\t" + day(15) + " 10:00\tStand-up\tWork\n");

    const CtlOutcome bad = ctl(home, "calendars add " + servers["FEEDS"] + "/feed/ctl.ics --colour red");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("\"red\" is no colour"), std::string::npos) << bad.err;
}

}  // namespace
}  // namespace tavrin
