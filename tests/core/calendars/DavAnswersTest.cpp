// What is read from a CalDAV server's answers, whatever prefixes, href forms and damage they come
// with. The exchanges themselves run against a real server in the platform tests.
#include <gtest/gtest.h>

#include "core/calendars/DavCalendars.h"

namespace tavrin {
namespace {

TEST(DavAnswers, HrefsOfEveryFormNameOneResource) {
    const auto base = WebAddress::parse("webcal://Cal.Example.org:443/dav/alice/work/");
    ASSERT_TRUE(base);
    EXPECT_EQ(base->text(), "https://cal.example.org/dav/alice/work/");
    const struct {
        const char* href;
        const char* address;  // "" for none (another scheme, unreadable)
    } cases[] = {
        {"/dav/alice/work/a%20b.ics", "https://cal.example.org/dav/alice/work/a%20b.ics"},
        {"a b.ics", "https://cal.example.org/dav/alice/work/a%20b.ics"},
        {"%61%2fb%2F.ics", "https://cal.example.org/dav/alice/work/a%2Fb%2F.ics"},
        {"../bob/./x.ics", "https://cal.example.org/dav/alice/bob/x.ics"},
        {"https://CAL.example.org/dav/alice/work/c.ics#x", "https://cal.example.org/dav/alice/work/c.ics"},
        {"//other.org/y.ics", "https://other.org/y.ics"},
        {"caf\xC3\xA9.ics", "https://cal.example.org/dav/alice/work/caf%C3%A9.ics"},
        {"mailto:alice@example.org", ""},
    };
    for (const auto& c : cases) {
        const auto resolved = resolveReference(*base, c.href);
        EXPECT_EQ(resolved ? resolved->text() : "", c.address) << c.href;
    }
}

TEST(DavAnswers, MultistatusIsReadByNamespaceAndChangesAreFoundByETag) {
    // Prefixes of the server's choosing, the default namespace for DAV:, a failed propstat and a
    // collection listed beside its events.
    const auto answer = readMultistatus(R"(<?xml version="1.0"?>
<multistatus xmlns="DAV:" xmlns:X="urn:ietf:params:xml:ns:caldav" xmlns:A="http://apple.com/ns/ical/">
 <response><href>/cal/work/</href><propstat><prop><resourcetype><collection/><X:calendar/></resourcetype>
  <displayname>Work &amp; more</displayname><A:calendar-color>#2E8B57FF</A:calendar-color>
  <X:supported-calendar-component-set><X:comp name="VEVENT"/></X:supported-calendar-component-set>
  </prop><status>HTTP/1.1 200 OK</status></propstat></response>
 <response><href>/cal/tasks/</href><propstat><prop><resourcetype><collection/><X:calendar/></resourcetype>
  <X:supported-calendar-component-set><X:comp name="VTODO"/></X:supported-calendar-component-set>
  </prop><status>HTTP/1.1 200 OK</status></propstat></response>
 <response><href>/cal/work/same.ics</href><propstat><prop><getetag>"1"</getetag></prop>
  <status>HTTP/1.1 200 OK</status></propstat></response>
 <response><href>/cal/work/new.ics</href><propstat><prop><getetag>"2"</getetag></prop>
  <status>HTTP/1.1 200 OK</status></propstat><propstat><prop><displayname>lost</displayname></prop>
  <status>HTTP/1.1 404 Not Found</status></propstat></response>
</multistatus>)");
    ASSERT_TRUE(answer) << answer.message();
    const auto base = WebAddress::parse("http://h/cal/work/");
    const auto calendars = davCalendarsIn(*answer, *base);
    ASSERT_EQ(calendars.size(), 1u);
    EXPECT_EQ(calendars[0].name, "Work & more");
    EXPECT_EQ(calendars[0].colour, 0x2E8B57u);
    EXPECT_EQ(answer->resources[3].displayName, "");

    const std::map<std::string, CachedResource> cached = {{"http://h/cal/work/same.ics", {"\"1\"", "a"}},
                                                          {"http://h/cal/work/gone.ics", {"\"3\"", "b"}}};
    const DavChanges changes = davChanges(*answer, *base, cached);
    EXPECT_EQ(changes.download, std::vector<std::string>{"http://h/cal/work/new.ics"});
    ASSERT_EQ(changes.kept.size(), 1u);
    EXPECT_EQ(changes.kept.begin()->first, "http://h/cal/work/same.ics");
    EXPECT_EQ(changes.dropped, 1u);

    for (const char* garbage : {"", "<html><body>Sign in</body></html>", "<multistatus>", "\x01\xff<a",
                                R"(<!DOCTYPE m [<!ENTITY e SYSTEM "file:///etc/passwd">]><m>&e;</m>)"})
        EXPECT_FALSE(readMultistatus(garbage)) << garbage;
}

}  // namespace
}  // namespace tavrin
