#pragma once
// A CalDAV server's multistatus answer (207), read with libxml2: one entry per resource it names, with
// the properties this program asks for. Elements are known by namespace and local name (DAV: and
// urn:ietf:params:xml:ns:caldav, whatever prefixes the server picked); anything else is passed over.
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Result.h"

namespace tavrin {

struct DavResource {
    std::string href;  // as the server wrote it (decoded from XML, not from percent-encoding)
    // The response's own status where it gives one (404 for a resource gone in a sync report), else
    // 200; a property found only in a propstat whose status is not 2xx is left empty.
    int status = 200;
    std::string etag;
    std::string displayName;
    std::string colour;     // calendar-color as the server gives it ("#RRGGBB" or "#RRGGBBAA")
    std::string ctag;       // getctag of the collection, where given
    std::string syncToken;  // sync-token of the collection, where given
    std::string calendarData;
    bool collection = false;
    bool calendar = false;
    // Whether supported-calendar-component-set was given, and whether it holds VEVENT.
    bool componentsGiven = false;
    bool events = false;
    // The hrefs inside current-user-principal and calendar-home-set.
    std::vector<std::string> principal;
    std::vector<std::string> calendarHome;
};

struct DavMultistatus {
    std::vector<DavResource> resources;
    std::string syncToken;  // a sync report's new token, "" when none
};

// Refuses text that is not XML or whose root is not DAV:multistatus, with the reason.
Result<DavMultistatus> readMultistatus(std::string_view xml);

}  // namespace tavrin
