#pragma once
// The one HTTP client, over libcurl: GET, PUT and the WebDAV methods, certificates always verified,
// redirects followed by hand and only to the same scheme and host, a size limit on every answer and
// timeouts, so a broken or hostile server costs a clear message and nothing else. Blocking; one
// client per thread.
#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/base/Result.h"

namespace tavrin {

struct HttpLimits {
    std::size_t maxBytes = 20u * 1024 * 1024;
    long connectSeconds = 15;
    long totalSeconds = 60;
    int maxRedirects = 5;
    // A file of certificate authorities to trust besides the system's, "" for the system's alone.
    std::string caFile;

    // The defaults, with TAVRIN_CA_FILE (a CA file, for a test server's certificate) and
    // TAVRIN_HTTP_TIMEOUT (seconds for the whole exchange and the connection) where set.
    static HttpLimits fromEnvironment();
};

struct HttpRequest {
    std::string method = "GET";
    std::string url;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::string user;  // Basic authentication when not empty
    std::string password;
    // Whether an answer of 400 and above comes back as an answer (for a caller that reads a 412 or
    // a 404 as an outcome of its own) rather than as a failure.
    bool anyStatus = false;
};

struct HttpResponse {
    long status = 0;
    std::string statusText;  // the status with its phrase, "500 Internal Server Error"
    std::string url;         // where the answer came from, after redirects
    // Header names in lower case; the last of repeated ones.
    std::map<std::string, std::string> headers;
    std::string body;

    std::string header(const std::string& lowerName) const;
};

class HttpClient {
  public:
    explicit HttpClient(HttpLimits limits = HttpLimits::fromEnvironment());
    const HttpLimits& limits() const { return limits_; }

    // The server's answer for a status below 400 (304 included: the caller asked conditionally).
    // Fails, with a reason a user can read, for an unreadable address, a connection or certificate
    // failure, a timeout, an answer over the size limit, a redirect elsewhere or a status of 400
    // and above (unless the request asks for every answer).
    Result<HttpResponse> send(const HttpRequest& request) const;

  private:
    HttpLimits limits_;
};

}  // namespace tavrin
