#pragma once
// Web addresses as a calendar server and its answers give them: split into their parts, references
// (absolute or relative, as a server's hrefs are) resolved against the address they came from, and the
// path's percent-encoding made canonical, so one resource always has one key however it was written.
#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

struct WebAddress {
    std::string scheme;  // "http" or "https", in lower case
    std::string host;    // in lower case; an IPv6 address keeps its brackets
    std::string port;    // "" for the scheme's own
    std::string path;    // from the first "/" on, query included; "/" when the address has none

    // Nothing when `text` is not an http(s) address (webcal:// is read as https://).
    static std::optional<WebAddress> parse(std::string_view text);
    // Host and port as a user reads them ("127.0.0.1:5232").
    std::string authority() const;
    std::string text() const;
    // Same scheme, host and port: the only place a redirect or an href may lead.
    bool sameOrigin(const WebAddress& other) const;
};

// `reference` (an absolute address, an absolute path or a relative path) read against `base`, with
// the path's percent-encoding canonical. Nothing when it names another scheme or is unreadable.
std::optional<WebAddress> resolveReference(const WebAddress& base, std::string_view reference);

// `path` with its percent-encoding canonical: escapes of unreserved characters decoded, the others in
// upper case, and bytes that may not stand bare in a path (blanks, non-ASCII) escaped.
std::string canonicalPath(std::string_view path);

}  // namespace tavrin
