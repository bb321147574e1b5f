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
    ASSERT_TRUE(servers.putEvent("bob", "one.ics",
                                 "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:t\r\nBEGIN:VEVENT\r\nUID:one@t\r\n"
                                 "DTSTAMP:20260101T000000Z\r\nDTSTART:20261210T100000Z\r\nSUMMARY:One\r\n"
                                 "END:VEVENT\r\nEND:VCALENDAR\r\n"));
    const test::ScratchHome home;
    const CtlOutcome added =
        ctl(home, "calendars add " + servers["RADICALE"] + " --user bob", "TAVRIN_PASSWORD=bob-pw");
    EXPECT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(added.out, "added Work (caldav, " + servers["RADICALE"] + "/bob/work/): 1 event, updated\n");
    // No keyring in a test: the password goes to a file of the user's alone, and the user is told.
    EXPECT_NE(added.err.find("readable by you alone"), std::string::npos) << added.err;
    struct stat info {};
    ASSERT_EQ(::stat(home.file("data/tavrin/passwords").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(test::readFile(home.userSettingsFile()).find("bob-pw"), std::string::npos);

    const CtlOutcome refreshed = ctl(home, "calendars refresh");
    EXPECT_EQ(refreshed.status, 0) << refreshed.err;
    EXPECT_EQ(refreshed.out, "Work: 1 event, unchanged\n");

    const CtlOutcome bad = ctl(home, "calendars add " + servers["FEEDS"] + "/feed/ctl.ics --colour red");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("\"red\" is no colour"), std::string::npos) << bad.err;
}

}  // namespace
}  // namespace tavrin
