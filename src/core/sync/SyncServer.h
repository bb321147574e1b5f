#pragma once
// The calendar collection that holds the reminders on a server, as the sync sees it: a listing of its
// resources (all of them, or those changed since a token the server gave), their iCalendar text, and
// conditional writes and deletions. The program's server speaks CalDAV; the sync itself knows nothing
// of HTTP.
#include <string>
#include <vector>

#include "core/base/Result.h"

namespace tavrin {

// One resource in a listing: where it is in the collection and its current version.
struct RemoteEntry {
    std::string href;  // the path on the server, as the server names it
    std::string etag;
};

// What changed in the collection.
struct RemoteListing {
    // Whether `present` holds every resource of the collection (a whole listing: anything known and
    // not in it is gone), or only those changed since the token asked with (then `gone` names the
    // removed ones).
    bool whole = true;
    std::vector<RemoteEntry> present;
    std::vector<std::string> gone;  // hrefs
    // What to ask with next time for the changes since this listing; "" when the server keeps none.
    std::string token;
};

// A resource's text as downloaded.
struct RemoteText {
    std::string href;
    std::string etag;
    std::string text;  // a whole VCALENDAR
};

// How a conditional write or deletion ended, when the server answered it.
enum class RemoteWrite {
    Done,     // written or deleted; for a write, `etag` is the new version ("" when the server kept quiet)
    Changed,  // the resource is not the version named (412): someone else changed or made it meanwhile
    Missing,  // there is no such resource (404 or 410; for a deletion, it is as good as done)
};

struct RemoteWriteResult {
    RemoteWrite outcome = RemoteWrite::Done;
    std::string etag;
};

class SyncServer {
  public:
    virtual ~SyncServer() = default;
    // The collection's resources: those changed since `token` when the server still knows it, else
    // (and for "") all of them. A failure says why, for the user.
    virtual Result<RemoteListing> list(const std::string& token) = 0;
    // The text of the resources at `hrefs`; those the server no longer has are left out.
    virtual Result<std::vector<RemoteText>> download(const std::vector<std::string>& hrefs) = 0;
    // Writes `text` to `href`: only over the version `etag`, or, with `etag` "", only where nothing is.
    virtual Result<RemoteWriteResult> upload(const std::string& href, const std::string& text,
                                             const std::string& etag) = 0;
    // Deletes `href`, only if it is still the version `etag`.
    virtual Result<RemoteWriteResult> remove(const std::string& href, const std::string& etag) = 0;
    // The path on the server for a new resource named `uid` (the collection's path, the uid made safe
    // for a path, ".ics").
    virtual std::string hrefFor(const std::string& uid) const = 0;
};

}  // namespace tavrin
