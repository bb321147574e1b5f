// The reminders' calendar over CalDAV, on the servers of ctest's calendar fixture (radicale's user
// erin; each test makes a calendar of its own): conditional writes and listings that follow the sync
// token; broken servers cost a message naming the calendar and nothing stored; and a sync run against
// the real server for what only it shows: a weekly reminder moved on by the due check reaches the
// other machine, a server refusing every write loses and doubles nothing, and events a reminder
// cannot hold are named once and left alone.
#include <gtest/gtest.h>
#include <unistd.h>

#include <ctime>

#include "core/calendars/DavAddress.h"
#include "core/reminders/DueCheck.h"
#include "core/reminders/ReminderFile.h"
#include "core/sync/ReminderSync.h"
#include "platform/CalDavSyncServer.h"
#include "support/CalendarServers.h"
#include "support/FakeClock.h"
#include "support/LocalRadicale.h"
#include "support/ReminderTestSupport.h"

namespace tavrin {
namespace {

using test::eventResource;

std::string newCalendar(const test::CalendarServers& servers, const std::string& name) {
    return test::newCalendar(servers["RADICALE"], "erin", name);
}

ReminderEventContext context() {
    return {"mm/dd/yy", "Europe/Berlin", std::string(TAVRIN_TEST_DATA) + "/zoneinfo", ::time(nullptr)};
}

// One machine: its reminder file, read as the clock reads it.
struct Machine {
    test::TempDir dir{"tavrin-machine"};
    std::string file = dir.file("Tavrin.DAT");
    ReminderTable table;

    Result<SyncReport> sync(SyncServer& server, const std::string& address) {
        table = {};
        (void)readReminders(table, file);
        return syncReminders(table, file, address, server, context());
    }
};

class ReminderSyncServer : public ::testing::Test {
  protected:
    void SetUp() override {
        if (servers["RADICALE"].empty())
            GTEST_SKIP() << "radicale is not installed (tools/setup.sh installs it)";
    }
    test::CalendarServers servers;
};

TEST_F(ReminderSyncServer, WritesAreConditionalAndListingsFollowTheToken) {
    const std::string address = newCalendar(servers, "conditional");
    CalDavSyncServer server(address, "erin", "erin-pw");
    const std::string a = server.hrefFor("one two:@tavrin");
    EXPECT_EQ(a, WebAddress::parse(address)->path + "one%20two:@tavrin.ics");
    const std::string text = eventResource("one two:@tavrin", "DTSTART:20261201T100000Z\r\nSUMMARY:One\r\n");

    const auto made = server.upload(a, text, "");
    ASSERT_TRUE(made) << made.message();
    EXPECT_EQ(made->outcome, RemoteWrite::Done);
    EXPECT_FALSE(made->etag.empty());
    EXPECT_EQ(server.upload(a, text, "")->outcome, RemoteWrite::Changed);  // there is one now
    EXPECT_EQ(server.upload(a, text, "\"stale\"")->outcome, RemoteWrite::Changed);

    const auto whole = server.list("");
    ASSERT_TRUE(whole) << whole.message();
    EXPECT_TRUE(whole->whole);
    ASSERT_EQ(whole->present.size(), 1u);  // the collection itself is not a resource
    EXPECT_EQ(whole->present[0].href, a);
    EXPECT_EQ(whole->present[0].etag, made->etag);
    EXPECT_FALSE(whole->token.empty());

    const std::string changed =
        eventResource("one two:@tavrin", "DTSTART:20261201T110000Z\r\nSUMMARY:One\r\n");
    const auto edited = server.upload(a, changed, made->etag);
    ASSERT_EQ(edited->outcome, RemoteWrite::Done);
    const std::string b = server.hrefFor("two@tavrin");
    ASSERT_EQ(
        server.upload(b, eventResource("two@tavrin", "DTSTART:20261202T100000Z\r\nSUMMARY:Two\r\n"), "")
            ->outcome,
        RemoteWrite::Done);
    const auto since = server.list(whole->token);
    ASSERT_TRUE(since) << since.message();
    EXPECT_FALSE(since->whole);
    EXPECT_EQ(since->present.size(), 2u);

    EXPECT_EQ(server.remove(a, "\"stale\"")->outcome, RemoteWrite::Changed);
    EXPECT_EQ(server.remove(a, edited->etag)->outcome, RemoteWrite::Done);
    const auto after = server.list(since->token);
    ASSERT_TRUE(after) << after.message();
    EXPECT_EQ(after->gone, std::vector<std::string>{a});
    EXPECT_TRUE(after->present.empty());
    EXPECT_EQ(server.remove(a, edited->etag)->outcome, RemoteWrite::Missing);

    // A token the server does not know gives the whole listing.
    const auto refused = server.list(whole->token + "-unknown");
    ASSERT_TRUE(refused) << refused.message();
    EXPECT_TRUE(refused->whole);
    ASSERT_EQ(refused->present.size(), 1u);
    EXPECT_EQ(refused->present[0].href, b);

    const auto texts = server.download({a, b});
    ASSERT_TRUE(texts) << texts.message();
    ASSERT_EQ(texts->size(), 1u);
    EXPECT_EQ((*texts)[0].href, b);
    EXPECT_NE((*texts)[0].text.find("SUMMARY:Two"), std::string::npos);
}

// A server without the sync-collection report is listed whole, every time, by its resources' ETags.
TEST_F(ReminderSyncServer, AServerWithoutSyncReportsIsListedWhole) {
    ASSERT_TRUE(servers.setFeed("plain", "no-sync"));
    CalDavSyncServer server(servers["FEEDS"] + "/dav/plain/", "", "");
    const auto listed = server.list("a-token");
    ASSERT_TRUE(listed) << listed.message();
    EXPECT_TRUE(listed->whole);
    EXPECT_EQ(listed->token, "");
    ASSERT_EQ(listed->present.size(), 1u);  // not the collection, not the text file
    EXPECT_EQ(listed->present[0].href, "/dav/plain/a@b.ics");
    EXPECT_EQ(listed->present[0].etag, "\"1\"");
}

// A broken server: the reason names the calendar, and the reminder file is as it was.
TEST_F(ReminderSyncServer, BrokenAnswersAreFailuresThatNameTheCalendarAndChangeNothing) {
    const std::pair<const char*, const char*> cases[] = {{"error", "answered 500 Internal Server Error"},
                                                         {"garbage", "cannot be read"},
                                                         {"huge", "larger than 20 MB"},
                                                         {"hang", "did not answer within 1 seconds"}};
    for (const auto& [mode, reason] : cases) {
        SCOPED_TRACE(mode);
        const std::string name = std::string("broken-") + mode;
        ASSERT_TRUE(servers.setFeed(name, mode));
        Machine home;
        test::writeFile(home.file, test::recordText("Dentist", "03/07/05", "09:30:00"));
        const std::string address = servers["FEEDS"] + "/dav/" + name + "/";
        HttpLimits limits;
        limits.totalSeconds = limits.connectSeconds = 1;
        CalDavSyncServer server(address, "", "", limits);
        const Result<SyncReport> synced = home.sync(server, address);
        ASSERT_FALSE(synced);
        EXPECT_NE(synced.message().find("The reminders' calendar at " + address), std::string::npos)
            << synced.message();
        EXPECT_NE(synced.message().find(reason), std::string::npos) << synced.message();
        EXPECT_EQ(test::readFile(home.file), test::recordText("Dentist", "03/07/05", "09:30:00"));
    }
}

TEST_F(ReminderSyncServer, AServerRefusingEveryWriteLosesAndDoublesNothing) {
    ASSERT_TRUE(servers.setFeed("refusing", "refuse-writes"));
    const std::string address = servers["FEEDS"] + "/dav/refusing/";
    Machine home;
    const std::string text = test::recordText("Dentist") + test::recordText("Gym", "03/08/05");
    test::writeFile(home.file, text);
    const auto puts = [&] {
        const std::string log = servers.log();
        int n = 0;
        for (std::size_t at = 0; (at = log.find("dav refusing PUT", at)) != std::string::npos; ++at) ++n;
        return n;
    };
    for (int run = 0; run < 2; ++run) {
        const int before = puts();
        CalDavSyncServer server(address, "", "");
        (void)home.sync(server, address);
        // Each reminder at most once in each of the run's two sends (before and after the listing).
        EXPECT_LE(puts() - before, 4) << "run " << run;
        ReminderTable kept;
        ASSERT_TRUE(readReminders(kept, home.file).ok());
        EXPECT_EQ(test::titles(kept), "Dentist|Gym");
    }
}

TEST_F(ReminderSyncServer, EventsAReminderCannotHoldAreNamedOnceAndLeftOnTheServer) {
    const std::string address = newCalendar(servers, "inexpressible");
    const auto put = [&](const std::string& uid, const std::string& lines) {
        HttpRequest request{"PUT",
                            address + uid + ".ics",
                            {{"Content-Type", "text/calendar"}},
                            eventResource(uid, lines),
                            "erin",
                            "erin-pw"};
        ASSERT_TRUE(HttpClient().send(request));
    };
    put("monthly", "DTSTART:20261201T100000Z\r\nRRULE:FREQ=MONTHLY\r\nSUMMARY:Rent\r\n");
    put("quoted", "DTSTART:20261202T100000Z\r\nSUMMARY:Say \"hi\"\r\n");
    put("weekly", "DTSTART;TZID=Europe/Berlin:20261203T090000\r\nRRULE:FREQ=WEEKLY\r\nSUMMARY:Stand-up\r\n");
    Machine home;
    test::writeFile(home.file, test::recordText("Dentist"));
    CalDavSyncServer server(address, "erin", "erin-pw");
    const Result<SyncReport> first = home.sync(server, address);
    ASSERT_TRUE(first) << first.message();
    EXPECT_EQ(first->sent, 1);
    EXPECT_EQ(test::titles(home.table), "Dentist|Stand-up");
    std::string notices;
    for (const std::string& n : first->notices) notices += n + "\n";
    EXPECT_NE(notices.find("Rent"), std::string::npos) << notices;
    EXPECT_NE(notices.find("Say \"hi\""), std::string::npos) << notices;

    const int before = server.requestsSent();
    const Result<SyncReport> second = home.sync(server, address);
    ASSERT_TRUE(second) << second.message();
    EXPECT_EQ(second->sent, 0);
    EXPECT_TRUE(second->notices.empty());
    EXPECT_LE(server.requestsSent() - before, 1);  // the listing, and nothing written
    const auto listed = server.list("");
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->present.size(), 4u);
}

// The due check moves a weekly reminder on (the review question answered No) in machine 1's file;
// the next syncs carry the move to machine 2.
TEST_F(ReminderSyncServer, AWeeklyReminderMovedOnByTheDueCheckMovesOnTheOtherMachine) {
    const std::string address = newCalendar(servers, "weekly");
    CalDavSyncServer server(address, "erin", "erin-pw");
    Machine one, two;
    test::writeFile(one.file, test::recordText("Team", "03/07/05", "09:30:00", "2"));
    ASSERT_TRUE(one.sync(server, address));
    ASSERT_TRUE(two.sync(server, address));
    ASSERT_EQ(two.table.dates[0], "03/07/05");

    ReminderTable table;
    ASSERT_TRUE(loadReminders(table, one.file));
    const Settings settings = test::defaultSettings();
    test::FakeClock clock(DateTime::fromFields(2005, 3, 7, 9, 30, 0));
    struct Quiet : ReminderAnnouncer {
        bool showBalloon(const std::string&) override { return true; }
        bool askReview() override { return false; }
        void openManager() override {}
    } announcer;
    DueCheck check(table, settings, clock, announcer, one.file);
    ASSERT_EQ(check.checkReminders().moved, 1);

    const Result<SyncReport> sent = one.sync(server, address);
    ASSERT_TRUE(sent) << sent.message();
    EXPECT_EQ(sent->sent, 1);
    const Result<SyncReport> received = two.sync(server, address);
    ASSERT_TRUE(received) << received.message();
    EXPECT_EQ(received->received, 1);
    EXPECT_EQ(two.table.dates[0], "03/14/05");
    EXPECT_EQ(two.table.times[0], "09:30:00");
}

}  // namespace
}  // namespace tavrin
