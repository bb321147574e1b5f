#pragma once
// What this program takes from a CalDAV server's answers: where the user's principal and calendar
// home are, which collections are event calendars, and which resources of a calendar changed since
// the cache was written.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/calendars/CalendarCache.h"
#include "core/calendars/DavAddress.h"
#include "core/calendars/DavMultistatus.h"

namespace tavrin {

struct DavCalendar {
    std::string address;  // the collection's whole address
    std::string name;     // its display name, or the last segment of its path
    std::optional<std::uint32_t> colour;
    std::string tag;  // sync token or ctag, "" when the server gives neither
};

// The first href of `property` ("principal" or "calendarHome") in the answer, read against `base`.
std::optional<WebAddress> davPrincipalIn(const DavMultistatus& answer, const WebAddress& base);
std::optional<WebAddress> davCalendarHomeIn(const DavMultistatus& answer, const WebAddress& base);

// The collections of an answer that are calendars holding events (a calendar that does not say what
// it holds is taken to hold events), in the server's order. Hrefs on another host are passed over.
std::vector<DavCalendar> davCalendarsIn(const DavMultistatus& answer, const WebAddress& base);

// "#RRGGBB" or "#RRGGBBAA" as 0xRRGGBB; nothing for anything else.
std::optional<std::uint32_t> davColour(const std::string& text);

struct DavChanges {
    std::vector<std::string> download;           // addresses new or with another ETag, to fetch
    std::map<std::string, CachedResource> kept;  // cached resources whose ETag is unchanged
    std::size_t dropped = 0;                     // cached resources the server no longer lists
};

// From a calendar-query's answer (hrefs and ETags, read against the collection's address `base`) and
// the cached resources: what to download and what to keep. A resource listed without an ETag is
// always downloaded.
DavChanges davChanges(const DavMultistatus& listing, const WebAddress& base,
                      const std::map<std::string, CachedResource>& cached);

}  // namespace tavrin

namespace tavrin {

// How many events iCalendar text holds, read by libical; a failure with the reason for text that is
// not iCalendar (an error page, a file of another kind) or that breaks off before its end.
Result<std::size_t> calendarTextEvents(std::string_view text);

}  // namespace tavrin
