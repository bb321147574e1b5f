#include "core/calendars/DavCalendars.h"

#include <algorithm>

#include <libical/ical.h>

#include "core/base/Text.h"

namespace tavrin {
namespace {

std::optional<WebAddress> firstHref(const DavMultistatus& answer, const WebAddress& base,
                                    std::vector<std::string> DavResource::*property) {
    for (const DavResource& r : answer.resources) {
        for (const std::string& href : r.*property) {
            auto address = resolveReference(base, href);
            if (address && address->sameOrigin(base)) return address;
        }
    }
    return std::nullopt;
}

// The last named segment of a path, percent-escapes left as they are.
std::string lastSegment(const std::string& path) {
    std::string p = path.substr(0, path.find('?'));
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p.substr(p.rfind('/') + 1);
}

}  // namespace

std::optional<WebAddress> davPrincipalIn(const DavMultistatus& answer, const WebAddress& base) {
    return firstHref(answer, base, &DavResource::principal);
}

std::optional<WebAddress> davCalendarHomeIn(const DavMultistatus& answer, const WebAddress& base) {
    return firstHref(answer, base, &DavResource::calendarHome);
}

std::vector<DavCalendar> davCalendarsIn(const DavMultistatus& answer, const WebAddress& base) {
    std::vector<DavCalendar> found;
    for (const DavResource& r : answer.resources) {
        if (!r.calendar || (r.componentsGiven && !r.events) || r.status < 200 || r.status > 299) continue;
        const auto address = resolveReference(base, r.href);
        if (!address || !address->sameOrigin(base)) continue;
        DavCalendar c;
        c.address = address->text();
        c.name = r.displayName.empty() ? lastSegment(address->path) : r.displayName;
        c.colour = davColour(r.colour);
        c.tag = r.syncToken.empty() ? r.ctag : r.syncToken;
        found.push_back(std::move(c));
    }
    return found;
}

std::optional<std::uint32_t> davColour(const std::string& text) {
    const std::string_view t = trim(text);
    if ((t.size() != 7 && t.size() != 9) || t.front() != '#') return std::nullopt;
    std::uint32_t v = 0;
    for (std::size_t i = 1; i < 7; ++i) {
        const auto d = hexDigit(t[i]);
        if (!d) return std::nullopt;
        v = v * 16 + static_cast<std::uint32_t>(*d);
    }
    for (std::size_t i = 7; i < t.size(); ++i)
        if (!hexDigit(t[i])) return std::nullopt;
    return v;
}

DavChanges davChanges(const DavMultistatus& listing, const WebAddress& base,
                      const std::map<std::string, CachedResource>& cached) {
    DavChanges changes;
    const std::string own = base.text();
    for (const DavResource& r : listing.resources) {
        if (r.status < 200 || r.status > 299) continue;
        const auto address = resolveReference(base, r.href);
        if (!address || !address->sameOrigin(base)) continue;
        std::string key = address->text();
        // The collection itself, when a server lists it, is no event.
        if (key == own || key + "/" == own || r.collection) continue;
        const auto hit = cached.find(key);
        if (hit != cached.end() && !r.etag.empty() && hit->second.etag == r.etag)
            changes.kept.emplace(std::move(key), hit->second);
        else
            changes.download.push_back(std::move(key));
    }
    for (const auto& [key, resource] : cached) {
        const bool listed =
            changes.kept.count(key) > 0 ||
            std::find(changes.download.begin(), changes.download.end(), key) != changes.download.end();
        if (!listed) ++changes.dropped;
    }
    return changes;
}

}  // namespace tavrin

namespace tavrin {

Result<std::size_t> calendarTextEvents(std::string_view text) {
    std::string_view body = text;
    if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
    body = trim(body);
    if (body.size() < 15 || !equalsNoCase(body.substr(0, 15), "BEGIN:VCALENDAR")) {
        const bool markup = !body.empty() && body.front() == '<';
        return Failure{markup ? "the answer is a web page, not a calendar (iCalendar) file"
                              : "the answer is not a calendar (iCalendar) file"};
    }
    std::string_view tail = body.substr(body.size() >= 13 ? body.size() - 13 : 0);
    if (!equalsNoCase(tail, "END:VCALENDAR"))
        return Failure{"the calendar file breaks off before its end (no END:VCALENDAR)"};
    const std::string copy(body);
    icalcomponent* root = icalparser_parse_string(copy.c_str());
    if (!root) return Failure{"the calendar file cannot be read as iCalendar"};
    std::size_t events = 0;
    auto count = [&](icalcomponent* calendar) {
        for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e;
             e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
            ++events;
    };
    const icalcomponent_kind kind = icalcomponent_isa(root);
    if (kind == ICAL_VCALENDAR_COMPONENT) {
        count(root);
    } else if (kind == ICAL_XROOT_COMPONENT) {
        for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT); c;
             c = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT))
            count(c);
    }
    icalcomponent_free(root);
    if (kind != ICAL_VCALENDAR_COMPONENT && kind != ICAL_XROOT_COMPONENT)
        return Failure{"the calendar file cannot be read as iCalendar"};
    return events;
}

}  // namespace tavrin
