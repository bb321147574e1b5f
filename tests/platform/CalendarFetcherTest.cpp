// The fetcher against real servers (started by ctest's calendar fixture): a feed that answers
// conditionally and then badly in every way a server can, and a CalDAV server (radicale) found from its
// address, with events put into it over HTTP and changed between fetches.
#include <gtest/gtest.h>

#include "core/calendars/CalendarCache.h"
#include "platform/CalendarFetcher.h"
#include "support/CalendarServers.h"
#include "support/TempDir.h"

namespace tavrin {
namespace {

HttpLimits quickLimits() {
    HttpLimits limits;
    limits.totalSeconds = 2;  // the hanging server is given up on in two seconds, not a minute
    return limits;
}

TEST(CalendarFetcher, BadFeedAnswersSayWhyAndKeepTheLastGoodEvents) {
    const test::CalendarServers servers;
    if (servers["FEEDS"].empty())
        GTEST_SKIP() << "no calendar servers: run the test through ctest, which starts them";
    test::TempDir dir;
    const CalendarFetcher fetcher(CalendarCache(dir.path()), quickLimits());
    CalendarSubscription feed;
    feed.id = "feed1";
    feed.address = servers["FEEDS"] + "/feed/fetcher.ics";
    ASSERT_TRUE(servers.setFeed("fetcher", "good"));
    const auto first = fetcher.refresh(feed, "", 1000);
    ASSERT_TRUE(first) << first.message();
    EXPECT_EQ(first->events, 1u);
    // Asked again, the feed is asked with its ETag and answers 304.
    const auto again = fetcher.refresh(feed, "", 2000);
    ASSERT_TRUE(again) << again.message();
    EXPECT_FALSE(again->changed);
    EXPECT_NE(servers.log().find("fetcher 304 \""), std::string::npos) << servers.log();
    const std::string good = CalendarCache(dir.path()).read("feed1")->resources.begin()->second.icsText;

    const struct {
        const char* mode;
        const char* server;
        const char* says;
    } cases[] = {
        {"malformed", "FEEDS", "breaks off before its end"},
        {"page", "FEEDS", "is a web page, not a calendar"},
        {"big", "FEEDS", "is larger than 20 MB"},
        {"error", "FEEDS", "answered 500 Internal Server Error"},
        {"hang", "FEEDS", "did not answer within 2 seconds (timed out)"},
        {"elsewhere", "FEEDS", "redirected to http://localhost:"},
        {"good", "TLS_FEEDS", "the certificate of 127.0.0.1 could not be verified"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        ASSERT_TRUE(servers.setFeed("fetcher", c.mode));
        feed.address = servers[c.server] + "/feed/fetcher.ics";
        const auto fetched = fetcher.refresh(feed, "", 3000);
        ASSERT_FALSE(fetched);
        EXPECT_NE(fetched.message().find(c.says), std::string::npos) << fetched.message();
        const auto cached = CalendarCache(dir.path()).read("feed1");
        ASSERT_TRUE(cached) << cached.message();
        EXPECT_EQ(cached->resources.begin()->second.icsText, good);
        EXPECT_EQ(cached->lastFailure, fetched.message());
    }
    // The test server's certificate, once trusted, verifies.
    HttpLimits trusting = quickLimits();
    trusting.caFile = servers["CA_FILE"];
    ASSERT_TRUE(servers.setFeed("fetcher", "changed"));
    const auto secure = CalendarFetcher(CalendarCache(dir.path()), trusting).refresh(feed, "", 4000);
    ASSERT_TRUE(secure) << secure.message();
    EXPECT_TRUE(secure->changed);
    EXPECT_TRUE(CalendarCache(dir.path()).read("feed1")->lastFailure.empty());
}

TEST(CalendarFetcher, CalDavCalendarIsFoundFetchedAndOnlyChangesDownloaded) {
    const test::CalendarServers servers;
    if (servers["RADICALE"].empty()) GTEST_SKIP() << "radicale is not installed (tools/setup.sh installs it)";
    const auto now = static_cast<std::int64_t>(::time(nullptr));
    using test::dayFromToday, test::eventResource;
    for (const char* name : {"a", "b", "c"})
        ASSERT_TRUE(servers.putEvent("alice", std::string(name) + ".ics",
                                     eventResource(name, "DTSTART;VALUE=DATE:" + dayFromToday(1) + "\r\n")));

    test::TempDir dir;
    const CalendarFetcher fetcher(CalendarCache(dir.path()), quickLimits());
    const auto found = fetcher.discoverCalendars(servers["RADICALE"], "alice", "alice-pw");
    ASSERT_TRUE(found) << found.message();
    ASSERT_EQ(found->size(), 1u);
    EXPECT_EQ(found->front().address, servers["RADICALE"] + "/alice/work/");
    EXPECT_EQ(found->front().name, "Work");
    EXPECT_EQ(found->front().colour, 0x2E8B57u);
    EXPECT_FALSE(fetcher.discoverCalendars(servers["RADICALE"], "alice", "wrong"));

    CalendarSubscription work;
    work.id = "work1";
    work.address = found->front().address;
    work.source = CalendarSource::CalDav;
    work.user = "alice";
    const auto first = fetcher.refresh(work, "alice-pw", now);
    ASSERT_TRUE(first) << first.message();
    EXPECT_EQ(first->downloaded, 3u);
    EXPECT_EQ(first->events, 3u);
    const auto same = fetcher.refresh(work, "alice-pw", now);
    ASSERT_TRUE(same) << same.message();
    EXPECT_FALSE(same->changed);
    EXPECT_EQ(same->downloaded, 0u);

    ASSERT_TRUE(servers.putEvent("alice", "b.ics",
                                 eventResource("b", "DTSTART;VALUE=DATE:" + dayFromToday(2) + "\r\n")));
    const auto changed = fetcher.refresh(work, "alice-pw", now);
    ASSERT_TRUE(changed) << changed.message();
    EXPECT_TRUE(changed->changed);
    EXPECT_EQ(changed->downloaded, 1u);

    // The server gone: the calendar says why and keeps its events.
    CalendarSubscription gone = work;
    gone.address = "http://127.0.0.1:1/alice/work/";
    const auto offline = fetcher.refresh(gone, "alice-pw", now);
    ASSERT_FALSE(offline);
    EXPECT_NE(offline.message().find("cannot connect to 127.0.0.1:1"), std::string::npos)
        << offline.message();
    EXPECT_EQ(CalendarCache(dir.path()).read("work1")->resources.size(), 3u);
}

}  // namespace
}  // namespace tavrin
