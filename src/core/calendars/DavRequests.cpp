#include "core/calendars/DavRequests.h"

#include <time.h>

#include <cstdio>

namespace tavrin {
namespace {

constexpr std::int64_t kDay = 86400;

std::string utcStamp(std::int64_t t) {
    const time_t at = static_cast<time_t>(t);
    tm parts{};
    gmtime_r(&at, &parts);
    char text[96];
    std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02dZ", parts.tm_year + 1900, parts.tm_mon + 1,
                  parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
    return text;
}

std::string xmlEscaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

}  // namespace

std::pair<std::int64_t, std::int64_t> davWindow(std::int64_t now) {
    const std::int64_t day = (now >= 0 ? now : now - kDay + 1) / kDay * kDay;
    return {day - 31 * kDay, day + 183 * kDay};
}

std::string davPrincipalBody() {
    return R"(<?xml version="1.0" encoding="utf-8"?>
<d:propfind xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav">
  <d:prop><d:current-user-principal/><c:calendar-home-set/><d:resourcetype/></d:prop>
</d:propfind>
)";
}

std::string davCollectionsBody() {
    return R"(<?xml version="1.0" encoding="utf-8"?>
<d:propfind xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav" xmlns:cs="http://calendarserver.org/ns/" xmlns:a="http://apple.com/ns/ical/">
  <d:prop><d:resourcetype/><d:displayname/><a:calendar-color/><c:supported-calendar-component-set/><cs:getctag/><d:sync-token/></d:prop>
</d:propfind>
)";
}

std::string davCalendarQueryBody(std::int64_t from, std::int64_t to) {
    return R"(<?xml version="1.0" encoding="utf-8"?>
<c:calendar-query xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav">
  <d:prop><d:getetag/></d:prop>
  <c:filter><c:comp-filter name="VCALENDAR"><c:comp-filter name="VEVENT">
    <c:time-range start=")" +
           utcStamp(from) + R"(" end=")" + utcStamp(to) + R"("/>
  </c:comp-filter></c:comp-filter></c:filter>
</c:calendar-query>
)";
}

std::string davSyncCollectionBody(const std::string& token) {
    return R"(<?xml version="1.0" encoding="utf-8"?>
<d:sync-collection xmlns:d="DAV:">
  <d:sync-token>)" +
           xmlEscaped(token) + R"(</d:sync-token>
  <d:sync-level>1</d:sync-level>
  <d:prop><d:getetag/></d:prop>
</d:sync-collection>
)";
}

std::string davEtagsBody() {
    return R"(<?xml version="1.0" encoding="utf-8"?>
<d:propfind xmlns:d="DAV:"><d:prop><d:resourcetype/><d:getetag/></d:prop></d:propfind>
)";
}

std::string davMultigetBody(const std::vector<std::string>& paths) {
    std::string body = R"(<?xml version="1.0" encoding="utf-8"?>
<c:calendar-multiget xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav">
  <d:prop><d:getetag/><c:calendar-data/></d:prop>
)";
    for (const std::string& p : paths) body += "  <d:href>" + xmlEscaped(p) + "</d:href>\n";
    return body + "</c:calendar-multiget>\n";
}

}  // namespace tavrin
