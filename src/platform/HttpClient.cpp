#include "platform/HttpClient.h"

#include <curl/curl.h>

#include <cstdlib>
#include <memory>
#include <mutex>

#include "core/base/Text.h"
#include "core/calendars/DavAddress.h"

namespace tavrin {
namespace {

// curl_global_init is not thread-safe on its own: once per process, whichever thread gets here first.
void initialiseCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Transfer {
    std::size_t limit = 0;
    bool overLimit = false;
    std::string body;
    std::string statusLine;
    std::map<std::string, std::string> headers;
};

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    if (t->body.size() + bytes > t->limit) {
        t->overLimit = true;
        return 0;  // stops the transfer
    }
    t->body.append(data, bytes);
    return bytes;
}

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    const std::string_view line = trim(std::string_view(data, bytes));
    if (line.substr(0, 5) == "HTTP/") {
        // A new answer (after a 100 Continue): its headers replace the earlier ones.
        t->statusLine = std::string(line);
        t->headers.clear();
    } else if (const std::size_t colon = line.find(':'); colon != std::string_view::npos) {
        std::string name;
        for (const char c : line.substr(0, colon)) name += lowerAscii(c);
        t->headers[name] = std::string(trim(line.substr(colon + 1)));
    }
    return bytes;
}

// The phrase of a status line ("Internal Server Error"), or a common one where the server (or
// HTTP/2) gave none.
std::string statusPhrase(long status, const std::string& statusLine) {
    const std::size_t first = statusLine.find(' ');
    const std::size_t second = first == std::string::npos ? first : statusLine.find(' ', first + 1);
    if (second != std::string::npos && !trim(statusLine.substr(second + 1)).empty())
        return std::string(trim(statusLine.substr(second + 1)));
    static const std::map<long, const char*> kPhrases = {
        {400, "Bad Request"}, {401, "Unauthorized"},        {403, "Forbidden"},
        {404, "Not Found"},   {405, "Method Not Allowed"},  {409, "Conflict"},
        {410, "Gone"},        {412, "Precondition Failed"}, {500, "Internal Server Error"},
        {502, "Bad Gateway"}, {503, "Service Unavailable"}, {504, "Gateway Timeout"}};
    const auto hit = kPhrases.find(status);
    return hit == kPhrases.end() ? "" : hit->second;
}

std::string statusText(long status, const std::string& statusLine) {
    const std::string phrase = statusPhrase(status, statusLine);
    return std::to_string(status) + (phrase.empty() ? "" : " " + phrase);
}

std::string statusFailure(long status, const std::string& statusLine, const WebAddress& at) {
    const std::string text = statusText(status, statusLine);
    if (status == 401)
        return "the server " + at.authority() + " refused the user name or password (" + text + ")";
    if (status == 404) return "there is nothing at " + at.text() + " (the server answered " + text + ")";
    return "the server " + at.authority() + " answered " + text;
}

std::string curlFailure(CURLcode code, const char* detail, const WebAddress& at, const HttpLimits& limits) {
    const std::string why = detail && *detail ? detail : curl_easy_strerror(code);
    switch (code) {
        case CURLE_OPERATION_TIMEDOUT:
            return at.authority() + " did not answer within " + std::to_string(limits.totalSeconds) +
                   " seconds (timed out)";
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_CERTPROBLEM:
            return "the certificate of " + at.host + " could not be verified: " + why;
        case CURLE_COULDNT_RESOLVE_HOST:
            return "the server name " + at.host + " is not known: " + why;
        case CURLE_COULDNT_CONNECT:
            return "cannot connect to " + at.authority() + ": " + why;
        default:
            return "the exchange with " + at.authority() + " failed: " + why;
    }
}

bool redirect(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

HttpLimits HttpLimits::fromEnvironment() {
    HttpLimits limits;
    if (const char* ca = std::getenv("TAVRIN_CA_FILE")) limits.caFile = ca;
    if (const char* timeout = std::getenv("TAVRIN_HTTP_TIMEOUT")) {
        if (const auto seconds = digitsNumber(timeout, 4); seconds && *seconds > 0) {
            limits.totalSeconds = *seconds;
            limits.connectSeconds = std::min<long>(limits.connectSeconds, *seconds);
        }
    }
    return limits;
}

std::string HttpResponse::header(const std::string& lowerName) const {
    const auto hit = headers.find(lowerName);
    return hit == headers.end() ? std::string() : hit->second;
}

HttpClient::HttpClient(HttpLimits limits) : limits_(std::move(limits)) {}

Result<HttpResponse> HttpClient::send(const HttpRequest& request) const {
    // Only the first request starts the library (and TLS with it): a clock whose calendars are all
    // files never pays for it.
    initialiseCurl();
    auto address = WebAddress::parse(request.url);
    if (!address) return Failure{"\"" + request.url + "\" is not an http or https address"};
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) return Failure{"the HTTP library could not start a transfer"};
    std::string method = request.method;
    std::string body = request.body;
    for (int hop = 0;; ++hop) {
        CURL* c = curl.get();
        curl_easy_reset(c);
        Transfer t;
        t.limit = limits_.maxBytes;
        char detail[CURL_ERROR_SIZE] = {};
        const std::string url = address->text();
        curl_easy_setopt(c, CURLOPT_URL, url.c_str());
        curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
        curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
        if (!limits_.caFile.empty()) curl_easy_setopt(c, CURLOPT_CAINFO, limits_.caFile.c_str());
        curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, limits_.connectSeconds);
        curl_easy_setopt(c, CURLOPT_TIMEOUT, limits_.totalSeconds);
        curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits_.maxBytes));
        curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");
        curl_easy_setopt(c, CURLOPT_ERRORBUFFER, detail);
        curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, onBody);
        curl_easy_setopt(c, CURLOPT_WRITEDATA, &t);
        curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, onHeader);
        curl_easy_setopt(c, CURLOPT_HEADERDATA, &t);
        curl_easy_setopt(c, CURLOPT_USERAGENT, "Tavrin");
        if (!request.user.empty()) {
            curl_easy_setopt(c, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
            curl_easy_setopt(c, CURLOPT_USERNAME, request.user.c_str());
            curl_easy_setopt(c, CURLOPT_PASSWORD, request.password.c_str());
        }
        if (method == "GET") {
            curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
        } else {
            curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, method.c_str());
            curl_easy_setopt(c, CURLOPT_POSTFIELDS, body.c_str());
            curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        }
        std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(nullptr, curl_slist_free_all);
        for (const auto& [name, value] : request.headers) {
            const std::string line = name + ": " + value;
            headers.reset(curl_slist_append(headers.release(), line.c_str()));
        }
        // curl would otherwise wait a second for a "100 Continue" before sending a large body.
        headers.reset(curl_slist_append(headers.release(), "Expect:"));
        curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());

        const CURLcode code = curl_easy_perform(c);
        if (t.overLimit || code == CURLE_FILESIZE_EXCEEDED)
            return Failure{"the answer of " + address->authority() + " is larger than " +
                           std::to_string(limits_.maxBytes / (1024 * 1024)) + " MB; it was not read"};
        if (code != CURLE_OK) return Failure{curlFailure(code, detail, *address, limits_)};
        long status = 0;
        curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
        if (redirect(status)) {
            const std::string location = t.headers.count("location") ? t.headers["location"] : "";
            if (location.empty())
                return Failure{"the server " + address->authority() + " sent a redirect to nowhere"};
            const auto next = resolveReference(*address, location);
            if (!next || !next->sameOrigin(*address))
                return Failure{
                    "the server " + address->authority() + " redirected to " + location +
                    ", another host or scheme; redirects are followed only within the same server"};
            if (hop + 1 > limits_.maxRedirects)
                return Failure{"the server " + address->authority() + " redirected more than " +
                               std::to_string(limits_.maxRedirects) + " times"};
            if (status == 303) {
                method = "GET";
                body.clear();
            }
            address = next;
            continue;
        }
        if (status >= 400 && !request.anyStatus)
            return Failure{statusFailure(status, t.statusLine, *address)};
        HttpResponse response;
        response.status = status;
        response.statusText = statusText(status, t.statusLine);
        response.url = url;
        response.headers = std::move(t.headers);
        response.body = std::move(t.body);
        return response;
    }
}

}  // namespace tavrin
