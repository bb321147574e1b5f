#pragma once
// Fetches subscribed calendars into the calendar cache: a local file is read, a feed is asked for with
// its last ETag (304: unchanged), a CalDAV calendar is listed over the window of time shown and only
// the resources whose ETag changed are downloaded. A fetch that fails keeps the last good resources
// and records why. Blocking and never throwing; one calendar at a time per fetcher, from any thread.
#include <cstdint>
#include <string>
#include <vector>

#include "core/base/Result.h"
#include "core/calendars/CalendarCache.h"
#include "core/calendars/CalendarSubscription.h"
#include "core/calendars/DavCalendars.h"
#include "platform/HttpClient.h"

namespace tavrin {

struct FetchReport {
    std::size_t events = 0;      // events in the calendar as cached now
    bool changed = false;        // whether anything new was downloaded or anything dropped
    std::size_t downloaded = 0;  // resources fetched (CalDAV) or 1 for a changed feed or file
};

class CalendarFetcher {
  public:
    explicit CalendarFetcher(CalendarCache cache, HttpLimits limits = HttpLimits::fromEnvironment());

    // Fetches `calendar` (its `password` where it has a login) at `now` (Unix seconds) into the cache.
    Result<FetchReport> refresh(const CalendarSubscription& calendar, const std::string& password,
                                std::int64_t now) const;

    // The event calendars at a CalDAV address: the collection itself when it is one, else those found
    // from the server's /.well-known/caldav, the user's principal and its calendar home.
    Result<std::vector<DavCalendar>> discoverCalendars(const std::string& address, const std::string& user,
                                                       const std::string& password) const;

  private:
    Result<FetchReport> fetchFile(const CalendarSubscription& calendar, CachedCalendar& cached) const;
    Result<FetchReport> fetchFeed(const CalendarSubscription& calendar, const std::string& password,
                                  CachedCalendar& cached) const;
    Result<FetchReport> fetchCalDav(const CalendarSubscription& calendar, const std::string& password,
                                    std::int64_t now, CachedCalendar& cached) const;
    Result<DavMultistatus> dav(const std::string& method, const std::string& url, const std::string& depth,
                               const std::string& body, const std::string& user,
                               const std::string& password) const;

    CalendarCache cache_;
    HttpClient http_;
};

}  // namespace tavrin
