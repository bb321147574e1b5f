#include "platform/CalendarFetcher.h"

#include "core/base/AtomicFile.h"
#include "core/calendars/DavRequests.h"

namespace tavrin {
namespace {

constexpr std::int64_t kDay = 86400;

std::size_t eventsIn(const CachedCalendar& calendar) {
    std::size_t events = 0;
    for (const auto& [address, resource] : calendar.resources) {
        const auto count = calendarTextEvents(resource.icsText);
        if (count) events += *count;
    }
    return events;
}

}  // namespace

CalendarFetcher::CalendarFetcher(CalendarCache cache, HttpLimits limits)
    : cache_(std::move(cache)), http_(std::move(limits)) {}

Result<FetchReport> CalendarFetcher::refresh(const CalendarSubscription& calendar,
                                             const std::string& password, std::int64_t now) const {
    // A cache that cannot be read is started afresh: the fetch is what would mend it.
    CachedCalendar cached = cache_.read(calendar.id).valueOr(CachedCalendar{});
    Result<FetchReport> fetched = Failure{"unknown kind of calendar"};
    switch (calendar.source) {
        case CalendarSource::File:
            fetched = fetchFile(calendar, cached);
            break;
        case CalendarSource::Feed:
            fetched = fetchFeed(calendar, password, cached);
            break;
        case CalendarSource::CalDav:
            fetched = fetchCalDav(calendar, password, now, cached);
            break;
    }
    if (!fetched) {
        if (const Result<> kept = cache_.recordFailure(calendar.id, fetched.message(), now); !kept)
            return Failure{fetched.message() + " (and the cache: " + kept.message() + ")"};
        return fetched;
    }
    cached.fetchedAt = now;
    cached.lastFailure.clear();
    cached.failedAt = 0;
    if (const Result<> written = cache_.write(calendar.id, cached); !written) return written.why();
    fetched->events = eventsIn(cached);
    return fetched;
}

Result<FetchReport> CalendarFetcher::fetchFile(const CalendarSubscription& calendar,
                                               CachedCalendar& cached) const {
    Result<std::string> text = AtomicFile::read(calendar.address);
    if (!text) return text.why();
    if (const auto check = calendarTextEvents(*text); !check)
        return Failure{check.message() + " (" + calendar.address + ")"};
    FetchReport report;
    const auto old = cached.resources.find(calendar.address);
    report.changed =
        cached.resources.size() != 1 || old == cached.resources.end() || old->second.icsText != *text;
    report.downloaded = report.changed ? 1 : 0;
    cached.resources.clear();
    cached.resources[calendar.address] = CachedResource{"", std::move(*text)};
    return report;
}

Result<FetchReport> CalendarFetcher::fetchFeed(const CalendarSubscription& calendar,
                                               const std::string& password, CachedCalendar& cached) const {
    HttpRequest request;
    request.url = calendar.address;
    request.user = calendar.user;
    request.password = password;
    const auto old = cached.resources.find(calendar.address);
    if (old != cached.resources.end() && !old->second.etag.empty())
        request.headers.emplace_back("If-None-Match", old->second.etag);
    request.headers.emplace_back("Accept", "text/calendar, */*;q=0.5");
    Result<HttpResponse> answer = http_.send(request);
    if (!answer) return answer.why();
    FetchReport report;
    if (answer->status == 304 && old != cached.resources.end()) return report;
    if (const auto check = calendarTextEvents(answer->body); !check) return check.why();
    report.changed =
        old == cached.resources.end() || old->second.icsText != answer->body || cached.resources.size() != 1;
    report.downloaded = 1;
    CachedResource fresh{answer->header("etag"), std::move(answer->body)};
    cached.resources.clear();
    cached.resources[calendar.address] = std::move(fresh);
    return report;
}

Result<DavMultistatus> CalendarFetcher::dav(const std::string& method, const std::string& url,
                                            const std::string& depth, const std::string& body,
                                            const std::string& user, const std::string& password) const {
    HttpRequest request;
    request.method = method;
    request.url = url;
    request.user = user;
    request.password = password;
    request.body = body;
    request.headers = {{"Depth", depth}, {"Content-Type", "application/xml; charset=utf-8"}};
    Result<HttpResponse> answer = http_.send(request);
    if (!answer) return answer.why();
    if (answer->status != 207)
        return Failure{"the server answered " + std::to_string(answer->status) + " to " + method + " of " +
                       url + " where a CalDAV server answers 207 (not a CalDAV address?)"};
    return readMultistatus(answer->body);
}

Result<FetchReport> CalendarFetcher::fetchCalDav(const CalendarSubscription& calendar,
                                                 const std::string& password, std::int64_t now,
                                                 CachedCalendar& cached) const {
    const auto base = WebAddress::parse(calendar.address);
    if (!base) return Failure{"\"" + calendar.address + "\" is not an http or https address"};
    const std::string& user = calendar.user;
    FetchReport report;
    // The collection's tag first: unchanged, and asked for the same window as the last fetch, the
    // calendar is as cached and one small request was all it cost.
    Result<DavMultistatus> own = dav("PROPFIND", base->text(), "0", davCollectionsBody(), user, password);
    if (!own) return own.why();
    const auto found = davCalendarsIn(*own, *base);
    if (found.empty()) return Failure{calendar.address + " is not a calendar of events on the server"};
    const std::string tag = found.front().tag;
    const auto [from, to] = davWindow(now);
    const bool sameWindow = cached.fetchedAt / kDay == now / kDay;
    if (!tag.empty() && tag == cached.collectionTag && sameWindow && cached.fetchedAt > 0) return report;

    Result<DavMultistatus> listing =
        dav("REPORT", base->text(), "1", davCalendarQueryBody(from, to), user, password);
    if (!listing) return listing.why();
    DavChanges changes = davChanges(*listing, *base, cached.resources);
    std::map<std::string, CachedResource> resources = std::move(changes.kept);
    if (!changes.download.empty()) {
        std::vector<std::string> paths;
        for (const std::string& address : changes.download) paths.push_back(WebAddress::parse(address)->path);
        Result<DavMultistatus> got = dav("REPORT", base->text(), "1", davMultigetBody(paths), user, password);
        if (!got) return got.why();
        for (const DavResource& r : got->resources) {
            const auto address = resolveReference(*base, r.href);
            if (!address || r.calendarData.empty() || r.status < 200 || r.status > 299) continue;
            // A damaged resource keeps its last good text where there is one; the rest still come in.
            if (!calendarTextEvents(r.calendarData)) {
                const auto old = cached.resources.find(address->text());
                if (old != cached.resources.end()) resources.insert(*old);
                continue;
            }
            resources[address->text()] = CachedResource{r.etag, r.calendarData};
            ++report.downloaded;
        }
    }
    report.changed = report.downloaded > 0 || changes.dropped > 0;
    cached.resources = std::move(resources);
    cached.collectionTag = tag;
    return report;
}

Result<std::vector<DavCalendar>> CalendarFetcher::discoverCalendars(const std::string& address,
                                                                    const std::string& user,
                                                                    const std::string& password) const {
    const auto given = WebAddress::parse(address);
    if (!given) return Failure{"\"" + address + "\" is not an http or https address"};
    const std::string body = davPrincipalBody();
    // The address itself may be the calendar, the principal or the home.
    Result<DavMultistatus> here = dav("PROPFIND", given->text(), "0", davCollectionsBody(), user, password);
    if (here) {
        auto calendars = davCalendarsIn(*here, *given);
        if (!calendars.empty()) return calendars;
    }
    // Where the user's principal is: asked of the address, then of the server's well-known place.
    std::optional<WebAddress> principal, home;
    Result<DavMultistatus> start = dav("PROPFIND", given->text(), "0", body, user, password);
    if (start) {
        principal = davPrincipalIn(*start, *given);
        home = davCalendarHomeIn(*start, *given);
    }
    if (!principal && !home) {
        const auto wellKnown = resolveReference(*given, "/.well-known/caldav");
        Result<DavMultistatus> known = dav("PROPFIND", wellKnown->text(), "0", body, user, password);
        if (known) {
            principal = davPrincipalIn(*known, *wellKnown);
            home = davCalendarHomeIn(*known, *wellKnown);
        } else if (!start) {
            return Failure{start.message()};
        }
    }
    if (!home && principal) {
        Result<DavMultistatus> atPrincipal = dav("PROPFIND", principal->text(), "0", body, user, password);
        if (!atPrincipal) return atPrincipal.why();
        home = davCalendarHomeIn(*atPrincipal, *principal);
    }
    if (!home) {
        if (!start) return start.why();
        return Failure{"the server at " + given->authority() + " did not say where the calendars of " +
                       (user.empty() ? std::string("the user") : user) + " are"};
    }
    Result<DavMultistatus> listing = dav("PROPFIND", home->text(), "1", davCollectionsBody(), user, password);
    if (!listing) return listing.why();
    auto calendars = davCalendarsIn(*listing, *home);
    if (calendars.empty())
        return Failure{"the server at " + given->authority() + " holds no calendar of events for " +
                       (user.empty() ? std::string("this user") : user)};
    return calendars;
}

}  // namespace tavrin
