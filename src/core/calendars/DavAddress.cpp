#include "core/calendars/DavAddress.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "core/base/Text.h"

namespace tavrin {
namespace {

bool unreserved(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// Characters a path may hold as they are besides the unreserved ones.
bool pathCharacter(unsigned char c) {
    return unreserved(c) ||
           std::string_view("/!$&'()*+,;=:@?").find(static_cast<char>(c)) != std::string_view::npos;
}

void appendEscape(std::string& out, unsigned char c) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 15];
}

// "/a/./b/../c" as "/a/c": the dot segments of a resolved path gone.
std::string withoutDotSegments(std::string_view path) {
    std::vector<std::string_view> segments;
    std::size_t at = 1;
    while (at <= path.size()) {
        const std::size_t slash = path.find('/', at);
        const std::size_t end = slash == std::string_view::npos ? path.size() : slash;
        const std::string_view segment = path.substr(at, end - at);
        const bool last = slash == std::string_view::npos;
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
            if (last) segments.emplace_back();
        } else if (segment == ".") {
            if (last) segments.emplace_back();
        } else {
            segments.push_back(segment);
        }
        at = end + 1;
    }
    std::string out;
    for (const std::string_view s : segments) {
        out += '/';
        out += s;
    }
    return out.empty() ? "/" : out;
}

}  // namespace

std::optional<WebAddress> WebAddress::parse(std::string_view text) {
    text = trim(text);
    const std::size_t colon = text.find("://");
    if (colon == std::string_view::npos) return std::nullopt;
    WebAddress a;
    for (const char c : text.substr(0, colon)) a.scheme += lowerAscii(c);
    if (a.scheme == "webcal") a.scheme = "https";
    if (a.scheme == "webcals") a.scheme = "https";
    if (a.scheme != "http" && a.scheme != "https") return std::nullopt;
    std::string_view rest = text.substr(colon + 3);
    const std::size_t pathAt = rest.find_first_of("/?#");
    std::string_view authority = rest.substr(0, pathAt);
    std::string_view path = pathAt == std::string_view::npos ? std::string_view() : rest.substr(pathAt);
    if (const std::size_t fragment = path.find('#'); fragment != std::string_view::npos)
        path = path.substr(0, fragment);
    // A user name in the address is not used: the login is asked for on its own.
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos)
        authority = authority.substr(at + 1);
    std::string_view host = authority;
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        host = authority.substr(0, close + 1);
        std::string_view after = authority.substr(close + 1);
        if (!after.empty() && after.front() != ':') return std::nullopt;
        if (!after.empty()) a.port = std::string(after.substr(1));
    } else if (const std::size_t portAt = authority.rfind(':'); portAt != std::string_view::npos) {
        host = authority.substr(0, portAt);
        a.port = std::string(authority.substr(portAt + 1));
    }
    if (host.empty()) return std::nullopt;
    // A name of letters, digits, '-' and '.' (or an IPv6 address in brackets): anything else would
    // read back as another host, or a port, once written out.
    const bool bracketed = host.front() == '[';
    for (const char c : bracketed ? host.substr(1, host.size() - 2) : host) {
        const bool fits = std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' ||
                          (bracketed ? c == ':' : c == '_');
        if (!fits) return std::nullopt;
    }
    for (const char c : host) a.host += lowerAscii(c);
    if (!a.port.empty() && !digitsNumber(a.port, 5)) return std::nullopt;
    if ((a.scheme == "http" && a.port == "80") || (a.scheme == "https" && a.port == "443")) a.port.clear();
    if (!path.empty() && path.front() == '?')
        a.path = "/" + std::string(path);
    else
        a.path = path.empty() ? "/" : std::string(path);
    a.path = canonicalPath(a.path);
    return a;
}

std::string WebAddress::authority() const {
    return port.empty() ? host : host + ":" + port;
}

std::string WebAddress::text() const {
    return scheme + "://" + authority() + path;
}

bool WebAddress::sameOrigin(const WebAddress& other) const {
    return scheme == other.scheme && host == other.host && port == other.port;
}

std::optional<WebAddress> resolveReference(const WebAddress& base, std::string_view reference) {
    reference = trim(reference);
    if (const std::size_t fragment = reference.find('#'); fragment != std::string_view::npos)
        reference = reference.substr(0, fragment);
    // A scheme (letters first, then letters, digits, '+', '-', '.') and a colon make it absolute.
    const std::size_t colon = reference.find(':');
    if (colon != std::string_view::npos && colon > 0 && colon < reference.find_first_of("/?") &&
        std::isalpha(static_cast<unsigned char>(reference.front()))) {
        const bool scheme = std::all_of(
            reference.begin(), reference.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
                return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
            });
        if (scheme) return WebAddress::parse(reference);
    }
    if (reference.substr(0, 2) == "//") return WebAddress::parse(base.scheme + ":" + std::string(reference));
    WebAddress out = base;
    if (reference.empty()) return out;
    std::string path;
    if (reference.front() == '/') {
        path = std::string(reference);
    } else if (reference.front() == '?') {
        path = base.path.substr(0, base.path.find('?')) + std::string(reference);
    } else {
        const std::string basePath = base.path.substr(0, base.path.find('?'));
        path = basePath.substr(0, basePath.rfind('/') + 1) + std::string(reference);
    }
    const std::size_t query = path.find('?');
    out.path = canonicalPath(withoutDotSegments(path.substr(0, query)) +
                             (query == std::string::npos ? "" : path.substr(query)));
    return out;
}

std::string canonicalPath(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c == '%' && i + 2 < path.size()) {
            const auto high = hexDigit(path[i + 1]), low = hexDigit(path[i + 2]);
            if (high && low) {
                const auto decoded = static_cast<unsigned char>(*high * 16 + *low);
                if (unreserved(decoded))
                    out += static_cast<char>(decoded);
                else
                    appendEscape(out, decoded);
                i += 2;
                continue;
            }
        }
        if (pathCharacter(c))
            out += static_cast<char>(c);
        else
            appendEscape(out, c);
    }
    return out;
}

}  // namespace tavrin
