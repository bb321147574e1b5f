// tavrinctl sync as users run it, each machine a data folder of its own, against the real CalDAV
// server of ctest's calendar fixture (radicale's user dave; each test makes a calendar of its own):
// additions, edits and deletions travel, both sides changing one reminder keeps both, changes made
// while the server is away arrive when it is back, a sync killed at any moment neither loses nor
// doubles a reminder, and what an export or a phone puts on the server comes in.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <sstream>

#include "core/reminders/ReminderFile.h"
#include "core/timezones/MachineZone.h"
#include "support/CalendarServers.h"
#include "support/FileText.h"
#include "support/LocalRadicale.h"
#include "support/ScratchHome.h"

namespace tavrin {
namespace {

struct CtlOutcome {
    int status;
    std::string out, err;
};

// env, the machine's variables, tavrinctl: a command's first words.
std::vector<std::string> commandWords(const test::ScratchHome& home) {
    std::vector<std::string> words = {"env", "LC_ALL=C", "DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent",
                                      "TAVRIN_HTTP_TIMEOUT=10"};
    for (const auto& [name, value] : home.environment()) words.push_back(name + "=" + value);
    words.push_back(std::string(TAVRIN_BINARY_DIR) + "/src/tavrinctl");
    return words;
}

CtlOutcome ctl(const test::ScratchHome& home, const std::string& args, const std::string& input = "") {
    std::string command = "printf '%s\\n' '" + input + "' |";
    for (const std::string& word : commandWords(home)) command += " '" + word + "'";
    command += " " + args + " >" + home.file("out") + " 2>" + home.file("err");
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::readFile(home.file("out")),
            test::readFile(home.file("err"))};
}

std::string newCalendar(const std::string& server, const std::string& name) {
    return test::newCalendar(server, "dave", name);
}

// The reminders a machine lists, without their slot numbers, in order: what a user would compare.
std::string reminders(const test::ScratchHome& home) {
    const CtlOutcome listed = ctl(home, "reminders");
    EXPECT_EQ(listed.status, 0) << listed.err;
    std::vector<std::string> lines;
    std::istringstream in(listed.out);
    for (std::string line; std::getline(in, line);) lines.push_back(line.substr(line.find('\t') + 1));
    std::sort(lines.begin(), lines.end());
    std::string out;
    for (const std::string& line : lines) out += line + "\n";
    return out;
}

// The slot of the reminder titled `title` now.
std::string slotOf(const test::ScratchHome& home, const std::string& title) {
    const std::string listed = ctl(home, "reminders").out;
    std::istringstream in(listed);
    for (std::string line; std::getline(in, line);)
        if (line.substr(line.find('\t') + 1, title.size() + 1) == title + "\t")
            return line.substr(0, line.find('\t'));
    ADD_FAILURE() << title << " is not in the file:\n" << listed;
    return "999";
}

// A machine whose reminders are kept in the calendar at `address`.
void setUp(const test::ScratchHome& home, const std::string& address) {
    const CtlOutcome set = ctl(home, "sync setup " + address + " --user dave", "dave-pw");
    ASSERT_EQ(set.status, 0) << set.err;
}

std::string synced(const test::ScratchHome& home) {
    const CtlOutcome run = ctl(home, "sync");
    EXPECT_EQ(run.status, 0) << run.err;
    return run.out;
}

class SyncCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        if (servers["RADICALE"].empty())
            GTEST_SKIP() << "radicale is not installed (tools/setup.sh installs it)";
    }
    test::CalendarServers servers;
};

TEST_F(SyncCommands, AdditionsEditsAndDeletionsTravelBetweenMachines) {
    const test::ScratchHome one, two;
    const CtlOutcome none = ctl(one, "sync");
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("No calendar holds the reminders"), std::string::npos) << none.err;
    EXPECT_NE(none.err.find("tavrinctl sync setup URL"), std::string::npos) << none.err;

    const std::string address = newCalendar(servers["RADICALE"], "travel");
    // The server's address names all of dave's calendars, not one.
    const CtlOutcome several =
        ctl(one, "sync setup " + servers["RADICALE"] + "/dave/ --user dave", "dave-pw");
    EXPECT_EQ(several.status, 1);
    EXPECT_NE(several.err.find("is not a calendar"), std::string::npos) << several.err;
    const CtlOutcome set = ctl(one, "sync setup " + address + " --user dave", "dave-pw");
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_NE(set.out.find("now kept in the calendar"), std::string::npos) << set.out;
    setUp(one, address);  // a second time reuses the subscription
    EXPECT_EQ(ctl(one, "calendars list").out.find(address), ctl(one, "calendars list").out.rfind(address));

    ASSERT_EQ(ctl(one, "reminders add Dentist 12/01/26 09:30").status, 0);
    ASSERT_EQ(ctl(one, "reminders add Gym 12/02/26 18:00 --recur weekly").status, 0);
    EXPECT_EQ(synced(one), "Sent 2, received 0, removed 0 here and 0 on the server.\n");
    setUp(two, address);
    EXPECT_EQ(synced(two), "Sent 0, received 2, removed 0 here and 0 on the server.\n");
    EXPECT_EQ(reminders(two), reminders(one));

    const int dentist = reminders(two).find("Dentist") == 0 ? 0 : 1;  // sorted: Dentist before Gym
    ASSERT_EQ(ctl(two, "reminders --disable " + std::to_string(dentist)).status, 0);
    EXPECT_EQ(synced(two), "Sent 1, received 0, removed 0 here and 0 on the server.\n");
    EXPECT_EQ(synced(one), "Sent 0, received 1, removed 0 here and 0 on the server.\n");
    EXPECT_EQ(reminders(one), reminders(two));

    ASSERT_EQ(ctl(one, "reminders delete 1").status, 0);
    EXPECT_EQ(synced(one), "Sent 0, received 0, removed 0 here and 1 on the server.\n");
    EXPECT_EQ(synced(two), "Sent 0, received 0, removed 1 here and 0 on the server.\n");
    EXPECT_EQ(reminders(one), reminders(two));

    // Its resources are reminders: the calendar refresh passes it over.
    EXPECT_EQ(ctl(one, "calendars refresh").out, "");
    ASSERT_EQ(ctl(one, "sync setup --off").status, 0);
    EXPECT_EQ(ctl(one, "sync").status, 1);
}

TEST_F(SyncCommands, BothChangingOneReminderKeepsTheServersCopyAndTheOtherAsAConflict) {
    const std::string address = newCalendar(servers["RADICALE"], "conflict");
    const test::ScratchHome one, two;
    setUp(one, address);
    setUp(two, address);
    ASSERT_EQ(ctl(one, "reminders add Dentist 12/01/26 09:30").status, 0);
    synced(one);
    synced(two);
    ASSERT_EQ(ctl(one, "reminders --disable 0").status, 0);
    // A hand edit of the other machine's file moves it to 10:00.
    ReminderTable table;
    ASSERT_TRUE(readReminders(table, two.reminderFile()).ok());
    table.times[0] = "10:00:00";
    ASSERT_TRUE(saveReminders(table, two.reminderFile()));
    synced(one);
    const std::string second = synced(two);
    EXPECT_NE(second.find("(conflict)"), std::string::npos) << second;
    synced(one);
    EXPECT_EQ(reminders(two),
              "Dentist\t12/01/26\t09:30:00\t0\t-1\t\n"
              "Dentist (conflict)\t12/01/26\t10:00:00\t1\t-1\t\n");
    EXPECT_EQ(reminders(one), reminders(two));
}

TEST_F(SyncCommands, ChangesMadeWhileTheServerIsAwayArriveWhenItIsBack) {
    const test::ScratchHome one, two;
    test::LocalRadicale server(one.file("radicale"));
    const std::string address = newCalendar(server.address(), "outage");
    setUp(one, address);
    ASSERT_EQ(ctl(one, "reminders add Dentist 12/01/26 09:30").status, 0);
    synced(one);
    server.stop();
    ASSERT_EQ(ctl(one, "reminders add Gym 12/02/26 18:00").status, 0);
    ASSERT_EQ(ctl(one, "reminders delete 0").status, 0);
    const CtlOutcome away = ctl(one, "sync");
    EXPECT_EQ(away.status, 1);
    EXPECT_NE(away.err.find("127.0.0.1"), std::string::npos) << away.err;
    ASSERT_TRUE(server.start());
    EXPECT_EQ(synced(one), "Sent 1, received 0, removed 0 here and 1 on the server.\n");
    setUp(two, address);
    synced(two);
    EXPECT_EQ(reminders(two), "Gym\t12/02/26\t18:00:00\t1\t-1\t\n");
}

// Killed at random moments while changes are made between the kills, the syncs leave, after one
// clean run, every reminder once in the file and once on the server.
TEST_F(SyncCommands, ASyncKilledAtAnyMomentNeitherLosesNorDoublesAReminder) {
    const std::string address = newCalendar(servers["RADICALE"], "killed");
    const test::ScratchHome one, fresh;
    setUp(one, address);
    std::mt19937 random(23);
    std::vector<std::string> kept;
    std::vector<std::string> words = commandWords(one);
    words.push_back("sync");
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    ::posix_spawn_file_actions_init(&quiet);
    ::posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    for (int round = 0; round < 200; ++round) {
        if (kept.size() >= 12) {
            ASSERT_EQ(ctl(one, "reminders delete " + slotOf(one, kept.front())).status, 0);
            kept.erase(kept.begin());
        }
        const std::string title = "R" + std::to_string(round);
        const std::string time = std::to_string(8 + round / 60) + ":" + std::to_string(10 + round % 50);
        ASSERT_EQ(ctl(one, "reminders add " + title + " 12/01/26 " + time).status, 0);
        kept.push_back(title);
        if (round % 7 == 0) {
            ASSERT_EQ(ctl(one, "reminders --disable " + slotOf(one, title)).status, 0);
        }
        pid_t pid = 0;  // env becomes tavrinctl
        ASSERT_EQ(::posix_spawnp(&pid, "env", &quiet, nullptr, argv.data(), environ), 0);
        ::usleep(std::uniform_int_distribution<int>(0, 150000)(random));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    ::posix_spawn_file_actions_destroy(&quiet);
    // Whatever the kill interrupted is repaired by the next run.
    (void)ctl(one, "sync");
    synced(one);
    std::string expected;
    std::sort(kept.begin(), kept.end());
    for (const std::string& t : kept) expected += t + "\n";
    const auto titles = [](const std::string& listed) {
        std::string out;
        std::istringstream in(listed);
        for (std::string line; std::getline(in, line);) out += line.substr(0, line.find('\t')) + "\n";
        return out;
    };
    EXPECT_EQ(titles(reminders(one)), expected);
    setUp(fresh, address);
    synced(fresh);
    EXPECT_EQ(reminders(fresh), reminders(one));
}

TEST_F(SyncCommands, AnExportPutOnTheServerAndAPhonesEventComeIn) {
    const test::ScratchHome one, two;
    ASSERT_EQ(ctl(one, "reminders add Dentist 12/01/26 09:30 --body 'Bring the card'").status, 0);
    ASSERT_EQ(ctl(one, "reminders add Gym 12/02/26 18:00 --recur weekly").status, 0);
    ASSERT_EQ(ctl(one, "reminders add Water 12/03/26 07:15 --recur hourly").status, 0);
    const CtlOutcome exported = ctl(one, "reminders export " + one.file("all.ics"));
    ASSERT_EQ(exported.status, 0) << exported.err;
    // The whole file put as a new calendar.
    const std::string address = servers["RADICALE"] + "/dave/export-" + std::to_string(::getpid()) + "-" +
                                std::to_string(::time(nullptr)) + "/";
    const Result<HttpResponse> put = HttpClient().send({"PUT",
                                                        address,
                                                        {{"Content-Type", "text/calendar"}},
                                                        test::readFile(one.file("all.ics")),
                                                        "dave",
                                                        "dave-pw"});
    ASSERT_TRUE(put) << put.message();
    setUp(two, address);
    EXPECT_EQ(synced(two), "Sent 0, received 3, removed 0 here and 0 on the server.\n");
    EXPECT_EQ(reminders(two), reminders(one));

    // A phone writes an event of its own: its zone's rules, an alarm, its own uid and place.
    const std::string phone =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//Calendar//EN\r\n"
        "BEGIN:VTIMEZONE\r\nTZID:Asia/Tokyo\r\nBEGIN:STANDARD\r\nDTSTART:19700101T000000\r\n"
        "TZOFFSETFROM:+0900\r\nTZOFFSETTO:+0900\r\nTZNAME:JST\r\nEND:STANDARD\r\n"
        "END:VTIMEZONE\r\nBEGIN:VEVENT\r\nUID:8F3C2A1E-PHONE\r\nDTSTAMP:20261101T120000Z\r\n"
        "CREATED:20261101T120000Z\r\nDTSTART;TZID=Asia/Tokyo:20261205T183000\r\n"
        "DTEND;TZID=Asia/Tokyo:20261205T193000\r\nSUMMARY:Call Ken\r\n"
        "BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Call Ken\r\nTRIGGER:PT0S\r\n"
        "END:VALARM\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    ASSERT_TRUE(HttpClient().send({"PUT",
                                   address + "8F3C2A1E-PHONE.ics",
                                   {{"Content-Type", "text/calendar"}},
                                   phone,
                                   "dave",
                                   "dave-pw"}));
    EXPECT_EQ(synced(two), "Sent 0, received 1, removed 0 here and 0 on the server.\n");
    // 18:30 in Tokyo is 09:30 UTC; on this machine's clock, as the C library reads its zone.
    const std::string zone = machineZoneId(std::string(TAVRIN_TEST_DATA) + "/zoneinfo");
    const std::string local = [&] {
        const test::TzVariable here(zone.empty() ? "UTC" : zone);
        tm at{};
        ::strptime("2026-12-05 09:30", "%Y-%m-%d %H:%M", &at);
        const time_t utc = ::timegm(&at);
        tm shown{};
        ::localtime_r(&utc, &shown);
        char text[32];
        ::strftime(text, sizeof text, "%m/%d/%y\t%H:%M:00", &shown);
        return std::string(text);
    }();
    EXPECT_NE(reminders(two).find("Call Ken\t" + local + "\t1\t-1\t"), std::string::npos) << reminders(two);
}

}  // namespace
}  // namespace tavrin
