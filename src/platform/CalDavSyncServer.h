#pragma once
// The sync's server over CalDAV (RFC 4791, RFC 6578): the collection is listed with a sync-collection
// report from the last token where the server offers one (else by its getetag for every resource),
// resources are downloaded with a calendar-multiget, and every write and deletion is conditional
// (If-Match with the version last seen, If-None-Match: * for a new one). Blocking; one per thread.
#include <string>
#include <vector>

#include "core/sync/SyncServer.h"
#include "platform/HttpClient.h"

namespace tavrin {

class CalDavSyncServer final : public SyncServer {
  public:
    // `collection` is the calendar's address (http or https), `user` and `password` its login ("" for
    // none).
    CalDavSyncServer(std::string collection, std::string user, std::string password,
                     HttpLimits limits = HttpLimits::fromEnvironment());

    Result<RemoteListing> list(const std::string& token) override;
    Result<std::vector<RemoteText>> download(const std::vector<std::string>& hrefs) override;
    Result<RemoteWriteResult> upload(const std::string& href, const std::string& text,
                                     const std::string& etag) override;
    Result<RemoteWriteResult> remove(const std::string& href, const std::string& etag) override;
    std::string hrefFor(const std::string& uid) const override;

    // The requests sent so far, for the benchmark and the tests that count them.
    int requestsSent() const { return requests_; }

  private:
    std::string collection_;
    std::string user_;
    std::string password_;
    HttpClient http_;
    int requests_ = 0;
};

}  // namespace tavrin
