#pragma once
// The calendars' last good fetch on disk (under $XDG_CACHE_HOME/tavrin/calendars), so events show at
// once at start and while offline, one file per calendar, named by its id. Each calendar keeps its resources
// (one for a feed or a file, one per event resource for CalDAV) with their ETags, and the outcome of its last
// fetch. Every file is written through the atomic writer; a fetch that fails never replaces what is cached.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "core/base/Result.h"

namespace tavrin {

struct CachedResource {
    std::string etag;
    std::string icsText;
};

struct CachedCalendar {
    // By the resource's address (the feed's own address for a feed or a file).
    std::map<std::string, CachedResource> resources;
    // The collection's sync token or ctag, where the server gives one; "" otherwise.
    std::string collectionTag;
    // Unix seconds of the last fetch that succeeded; 0 for never.
    std::int64_t fetchedAt = 0;
    // Why the last fetch failed, "" when it succeeded; and when.
    std::string lastFailure;
    std::int64_t failedAt = 0;
};

class CalendarCache {
  public:
    explicit CalendarCache(std::string folder);
    const std::string& folder() const { return folder_; }

    // The calendar `id`'s cached state; a calendar never fetched is an empty one, not a failure.
    Result<CachedCalendar> read(const std::string& id) const;
    // Replaces the calendar's cached state with `calendar`.
    Result<> write(const std::string& id, const CachedCalendar& calendar) const;
    // Keeps the reason a fetch failed and when, beside the last good resources. A cache that cannot
    // be read is left as it is (its failure is the answer), never replaced by half of what it held.
    Result<> recordFailure(const std::string& id, const std::string& reason, std::int64_t at) const;
    // Forgets the calendar (after it is removed from the list).
    Result<> remove(const std::string& id) const;
    // The calendar's file.
    std::string fileOf(const std::string& id) const;

  private:
    std::string folder_;
};

// The cache file's text and back; a text that is cut or changed is a failure with a reason.
std::string formatCachedCalendar(const CachedCalendar& calendar);
Result<CachedCalendar> parseCachedCalendar(std::string_view text);

}  // namespace tavrin
