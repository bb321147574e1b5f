#pragma once
// A calendar collection in memory, as the sync sees a server: versions, change tokens, conditional
// writes refused as a server refuses them, an outage after a number of answers, and a hook run after
// the server has done its part of a write (a throw there acts out a crash before the answer is noted).
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/sync/SyncServer.h"

namespace tavrin::test {

class MemoryServer : public SyncServer {
  public:
    std::map<std::string, RemoteText> resources;  // by href
    std::vector<std::string> requests;            // "PUT href", "DELETE href", in order
    int answers = -1;                             // how many requests are answered before an outage
    std::function<void()> afterWrite;

    // Another client's write (or deletion, without a text), unconditional.
    void put(const std::string& href, const std::optional<std::string>& text) {
        if (text)
            resources[href] = {href, "\"" + std::to_string(log_.size() + 1) + "\"", *text};
        else
            resources.erase(href);
        log_.push_back(href);
    }

    Result<RemoteListing> list(const std::string& token) override {
        if (out()) return Failure{"The server did not answer."};
        RemoteListing listing;
        listing.whole = token.empty();
        for (std::size_t i = token.empty() ? log_.size() : std::stoul(token); i < log_.size(); ++i) {
            if (resources.count(log_[i]))
                listing.present.push_back({log_[i], resources[log_[i]].etag});
            else
                listing.gone.push_back(log_[i]);
        }
        if (listing.whole)
            for (const auto& [href, r] : resources) listing.present.push_back({href, r.etag});
        listing.token = std::to_string(log_.size());
        return listing;
    }
    Result<std::vector<RemoteText>> download(const std::vector<std::string>& hrefs) override {
        if (out()) return Failure{"The server did not answer."};
        std::vector<RemoteText> texts;
        for (const std::string& href : hrefs)
            if (resources.count(href)) texts.push_back(resources[href]);
        return texts;
    }
    Result<RemoteWriteResult> upload(const std::string& href, const std::string& text,
                                     const std::string& etag) override {
        return write(href, text, etag);
    }
    Result<RemoteWriteResult> remove(const std::string& href, const std::string& etag) override {
        return write(href, std::nullopt, etag);
    }
    std::string hrefFor(const std::string& uid) const override { return "/cal/" + uid + ".ics"; }

  private:
    // Whether the outage has begun; else one answer fewer is left.
    bool out() { return answers == 0 || (answers > 0 && --answers, false); }
    Result<RemoteWriteResult> write(const std::string& href, const std::optional<std::string>& text,
                                    const std::string& etag) {
        if (out()) return Failure{"The server did not answer."};
        requests.push_back((text ? "PUT " : "DELETE ") + href);
        const auto r = resources.find(href);
        if (r == resources.end() && (!etag.empty() || !text))
            return RemoteWriteResult{RemoteWrite::Missing, ""};
        if (r != resources.end() && r->second.etag != etag)
            return RemoteWriteResult{RemoteWrite::Changed, ""};
        put(href, text);
        if (afterWrite) afterWrite();
        return RemoteWriteResult{RemoteWrite::Done, text ? resources[href].etag : ""};
    }

    std::vector<std::string> log_;  // the href of each change, in order; a token is a place in it
};

}  // namespace tavrin::test
