#pragma once
// A calendar collection in memory, as the sync sees a server: versions, change tokens, conditional
// writes refused as a server refuses them, an outage, and a hook run after the server has done its
// part of a request (a throw there acts out a crash before the answer is noted).
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/sync/SyncServer.h"

namespace tavrin::test {

class MemoryServer : public SyncServer {
  public:
    std::map<std::string, RemoteText> resources;  // by href
    std::vector<std::string> requests;            // "PUT href", "DELETE href", in order
    bool offline = false;
    std::function<void()> afterWrite;

    // Another client's write or deletion, unconditional.
    void put(const std::string& href, const std::string& text) {
        resources[href] = {href, "\"" + std::to_string(++version_) + "\"", text};
        log_.push_back(href);
    }
    void drop(const std::string& href) {
        resources.erase(href);
        log_.push_back(href);
    }

    Result<RemoteListing> list(const std::string& token) override {
        if (offline) return Failure{"The server did not answer."};
        RemoteListing listing;
        const bool delta = token.rfind("t", 0) == 0;
        listing.whole = !delta;
        if (delta) {
            for (std::size_t i = std::stoul(token.substr(1)); i < log_.size(); ++i) {
                const auto r = resources.find(log_[i]);
                if (r == resources.end())
                    listing.gone.push_back(log_[i]);
                else
                    listing.present.push_back({r->first, r->second.etag});
            }
        } else {
            for (const auto& [href, r] : resources) listing.present.push_back({href, r.etag});
        }
        listing.token = "t" + std::to_string(log_.size());
        return listing;
    }
    Result<std::vector<RemoteText>> download(const std::vector<std::string>& hrefs) override {
        if (offline) return Failure{"The server did not answer."};
        std::vector<RemoteText> texts;
        for (const std::string& href : hrefs)
            if (resources.count(href)) texts.push_back(resources[href]);
        return texts;
    }
    Result<RemoteWriteResult> upload(const std::string& href, const std::string& text,
                                     const std::string& etag) override {
        if (offline) return Failure{"The server did not answer."};
        requests.push_back("PUT " + href);
        const auto r = resources.find(href);
        if (r == resources.end() && !etag.empty()) return RemoteWriteResult{RemoteWrite::Missing, ""};
        if (r != resources.end() && r->second.etag != etag)
            return RemoteWriteResult{RemoteWrite::Changed, ""};
        put(href, text);
        if (afterWrite) afterWrite();
        return RemoteWriteResult{RemoteWrite::Done, resources[href].etag};
    }
    Result<RemoteWriteResult> remove(const std::string& href, const std::string& etag) override {
        if (offline) return Failure{"The server did not answer."};
        requests.push_back("DELETE " + href);
        const auto r = resources.find(href);
        if (r == resources.end()) return RemoteWriteResult{RemoteWrite::Missing, ""};
        if (r->second.etag != etag) return RemoteWriteResult{RemoteWrite::Changed, ""};
        drop(href);
        if (afterWrite) afterWrite();
        return RemoteWriteResult{};
    }
    std::string hrefFor(const std::string& uid) const override { return "/cal/" + uid + ".ics"; }

  private:
    int version_ = 0;
    std::vector<std::string> log_;  // the href of each change, in order; a token is a place in it
};

}  // namespace tavrin::test
