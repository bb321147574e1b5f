#pragma once
// The bodies of the requests this program sends a CalDAV server, and the window of time it asks for.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tavrin {

// The events fetched are those touching a window from 31 days before `now` to 183 days after it
// (Unix seconds), in whole UTC days so that the request stays the same all day: the months the
// calendar window shows and the reminders ahead, without a whole history.
std::pair<std::int64_t, std::int64_t> davWindow(std::int64_t now);

// PROPFIND (Depth 0) for who the user is and where their calendars live.
std::string davPrincipalBody();
// PROPFIND (Depth 1) of a calendar home (or Depth 0 of one collection): what each collection is.
std::string davCollectionsBody();
// REPORT calendar-query (Depth 1): the address and ETag of every event resource touching the window.
std::string davCalendarQueryBody(std::int64_t from, std::int64_t to);
// REPORT sync-collection (Depth 0): the ETags of the resources changed since `token` ("" for all).
std::string davSyncCollectionBody(const std::string& token);
// PROPFIND (Depth 1) of a collection: what each member is and its ETag.
std::string davEtagsBody();
// REPORT calendar-multiget: the text and ETag of the resources at `paths` (paths on the server).
std::string davMultigetBody(const std::vector<std::string>& paths);

}  // namespace tavrin
