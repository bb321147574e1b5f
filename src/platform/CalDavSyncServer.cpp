#include "platform/CalDavSyncServer.h"

#include <optional>

#include "core/calendars/DavAddress.h"
#include "core/calendars/DavMultistatus.h"
#include "core/calendars/DavRequests.h"

namespace tavrin {
namespace {

bool unreserved(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// Characters a path segment may hold bare besides the unreserved ones; servers differ in whether
// they escape them ("a@b" or "a%40b"), so paths are compared with them bare.
bool bareInPath(unsigned char c) {
    return std::string_view("!$&'()*+,;=:@").find(static_cast<char>(c)) != std::string_view::npos;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The one form of a path on the server: canonical escapes, and the characters above bare.
std::string pathKey(std::string_view path) {
    const std::string canonical = canonicalPath(path);
    std::string out;
    for (std::size_t i = 0; i < canonical.size(); ++i) {
        if (canonical[i] == '%' && i + 2 < canonical.size()) {
            const int high = hexValue(canonical[i + 1]), low = hexValue(canonical[i + 2]);
            const auto c = static_cast<unsigned char>(high * 16 + low);
            if (high >= 0 && low >= 0 && bareInPath(c)) {
                out += static_cast<char>(c);
                i += 2;
                continue;
            }
        }
        out += canonical[i];
    }
    return out;
}

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::string withSlash(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

// The version to name in If-Match: the ETag as the server wrote it, quoted where it came bare.
std::string quotedTag(const std::string& etag) {
    if (etag.front() == '"' || etag.rfind("W/", 0) == 0) return etag;
    return '"' + etag + '"';
}

struct Exchange {
    std::string method;
    std::string url;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
};

// One request; every answer comes back whatever its status, for the caller to read. A failure names
// the calendar, so a user knows which of their servers it was.
Result<HttpResponse> sendTo(const HttpClient& http, const std::string& collection, const std::string& user,
                            const std::string& password, const Exchange& e) {
    HttpRequest request;
    request.method = e.method;
    request.url = e.url;
    request.headers = e.headers;
    request.body = e.body;
    request.user = user;
    request.password = password;
    request.anyStatus = true;
    Result<HttpResponse> answer = http.send(request);
    if (!answer) return Failure{"The reminders' calendar at " + collection + ": " + answer.message() + "."};
    return answer;
}

Failure answered(const std::string& collection, const HttpResponse& answer, const std::string& what) {
    if (answer.status == 401)
        return Failure{"The reminders' calendar at " + collection + " refused the user name or password (" +
                       answer.statusText + ")."};
    return Failure{"The reminders' calendar at " + collection + " answered " + answer.statusText + " to " +
                   what + "."};
}

}  // namespace

CalDavSyncServer::CalDavSyncServer(std::string collection, std::string user, std::string password,
                                   HttpLimits limits)
    : collection_(std::move(collection)),
      user_(std::move(user)),
      password_(std::move(password)),
      http_(std::move(limits)) {}

Result<RemoteListing> CalDavSyncServer::list(const std::string& token) {
    const auto base = WebAddress::parse(collection_);
    if (!base)
        return Failure{"The reminders' calendar \"" + collection_ + "\" is not an http or https address."};
    const std::string own = pathKey(withSlash(base->path));
    const std::vector<std::pair<std::string, std::string>> xml = {
        {"Content-Type", "application/xml; charset=utf-8"}};
    auto report = [&](const std::string& from) {
        ++requests_;
        auto headers = xml;
        headers.emplace_back("Depth", "0");
        return sendTo(http_, collection_, user_, password_,
                      {"REPORT", base->text(), headers, davSyncCollectionBody(from)});
    };
    // A token the server no longer knows (403 or 409, valid-sync-token) gives the whole listing; so
    // does a server that has no sync-collection report (it refuses or does not know it).
    const auto refused = [](long s) {
        return s == 400 || s == 403 || s == 405 || s == 409 || s == 415 || s == 501;
    };
    std::optional<HttpResponse> answer;
    bool whole = token.empty();
    if (!token.empty()) {
        Result<HttpResponse> since = report(token);
        if (!since) return since.why();
        if (!refused(since->status))
            answer = std::move(*since);
        else
            whole = true;
    }
    if (!answer) {
        Result<HttpResponse> all = report("");
        if (!all) return all.why();
        // A server without sync-collection: every resource's ETag, and no token to ask with.
        if (refused(all->status)) {
            ++requests_;
            auto headers = xml;
            headers.emplace_back("Depth", "1");
            all = sendTo(http_, collection_, user_, password_,
                         {"PROPFIND", base->text(), headers, davEtagsBody()});
            if (!all) return all.why();
        }
        answer = std::move(*all);
    }
    if (answer->status != 207) return answered(collection_, *answer, "the listing of its events");
    Result<DavMultistatus> read = readMultistatus(answer->body);
    if (!read)
        return Failure{"The reminders' calendar at " + collection_ +
                       " sent a listing that cannot be read: " + read.message() + "."};
    RemoteListing listing;
    listing.whole = whole;
    listing.token = read->syncToken;
    for (const DavResource& r : read->resources) {
        const auto at = resolveReference(*base, r.href);
        if (!at || !at->sameOrigin(*base)) continue;
        const std::string path = pathKey(at->path);
        if (path == own || pathKey(withSlash(at->path)) == own || r.collection || !endsWith(path, ".ics"))
            continue;
        if (r.status == 404 || r.status == 410) {
            if (!whole) listing.gone.push_back(path);
        } else if (r.status >= 200 && r.status <= 299) {
            listing.present.push_back({path, r.etag});
        }
    }
    return listing;
}

Result<std::vector<RemoteText>> CalDavSyncServer::download(const std::vector<std::string>& hrefs) {
    std::vector<RemoteText> texts;
    if (hrefs.empty()) return texts;
    const auto base = WebAddress::parse(collection_);
    if (!base)
        return Failure{"The reminders' calendar \"" + collection_ + "\" is not an http or https address."};
    ++requests_;
    Result<HttpResponse> answer =
        sendTo(http_, collection_, user_, password_,
               {"REPORT",
                base->text(),
                {{"Depth", "1"}, {"Content-Type", "application/xml; charset=utf-8"}},
                davMultigetBody(hrefs)});
    if (!answer) return answer.why();
    if (answer->status != 207) return answered(collection_, *answer, "the download of its events");
    Result<DavMultistatus> read = readMultistatus(answer->body);
    if (!read)
        return Failure{"The reminders' calendar at " + collection_ +
                       " sent events that cannot be read: " + read.message() + "."};
    for (DavResource& r : read->resources) {
        const auto at = resolveReference(*base, r.href);
        if (!at || r.status < 200 || r.status > 299 || r.calendarData.empty()) continue;
        texts.push_back({pathKey(at->path), r.etag, std::move(r.calendarData)});
    }
    return texts;
}

Result<RemoteWriteResult> CalDavSyncServer::upload(const std::string& href, const std::string& text,
                                                   const std::string& etag) {
    const auto base = WebAddress::parse(collection_);
    const auto at = base ? resolveReference(*base, href) : std::nullopt;
    if (!at)
        return Failure{"\"" + href + "\" is no place on the reminders' calendar at " + collection_ + "."};
    std::vector<std::pair<std::string, std::string>> headers = {
        {"Content-Type", "text/calendar; charset=utf-8"}};
    if (etag.empty())
        headers.emplace_back("If-None-Match", "*");
    else
        headers.emplace_back("If-Match", quotedTag(etag));
    ++requests_;
    Result<HttpResponse> answer =
        sendTo(http_, collection_, user_, password_, {"PUT", at->text(), headers, text});
    if (!answer) return answer.why();
    if (answer->status >= 200 && answer->status <= 299)
        return RemoteWriteResult{RemoteWrite::Done, answer->header("etag")};
    if (answer->status == 412) return RemoteWriteResult{RemoteWrite::Changed, {}};
    if (answer->status == 404 || answer->status == 410) return RemoteWriteResult{RemoteWrite::Missing, {}};
    return answered(collection_, *answer, "the upload of " + at->path);
}

Result<RemoteWriteResult> CalDavSyncServer::remove(const std::string& href, const std::string& etag) {
    const auto base = WebAddress::parse(collection_);
    const auto at = base ? resolveReference(*base, href) : std::nullopt;
    if (!at)
        return Failure{"\"" + href + "\" is no place on the reminders' calendar at " + collection_ + "."};
    std::vector<std::pair<std::string, std::string>> headers;
    if (!etag.empty()) headers.emplace_back("If-Match", quotedTag(etag));
    ++requests_;
    Result<HttpResponse> answer =
        sendTo(http_, collection_, user_, password_, {"DELETE", at->text(), headers, {}});
    if (!answer) return answer.why();
    if (answer->status >= 200 && answer->status <= 299) return RemoteWriteResult{RemoteWrite::Done, {}};
    if (answer->status == 412) return RemoteWriteResult{RemoteWrite::Changed, {}};
    if (answer->status == 404 || answer->status == 410) return RemoteWriteResult{RemoteWrite::Missing, {}};
    return answered(collection_, *answer, "the deletion of " + at->path);
}

std::string CalDavSyncServer::hrefFor(const std::string& uid) const {
    const auto base = WebAddress::parse(collection_);
    std::string name;
    static const char* const kHex = "0123456789ABCDEF";
    for (const char ch : uid) {
        const auto c = static_cast<unsigned char>(ch);
        if (unreserved(c) || c == '@') {
            name += ch;
        } else {
            name += '%';
            name += kHex[c >> 4];
            name += kHex[c & 15];
        }
    }
    return pathKey(withSlash(base ? base->path : "/") + name + ".ics");
}

}  // namespace tavrin
