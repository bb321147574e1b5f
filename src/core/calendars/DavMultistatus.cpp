#include "core/calendars/DavMultistatus.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <memory>
#include <mutex>

#include "core/base/Text.h"

namespace tavrin {
namespace {

constexpr std::string_view kDav = "DAV:";
constexpr std::string_view kCalDav = "urn:ietf:params:xml:ns:caldav";
constexpr std::string_view kCalendarServer = "http://calendarserver.org/ns/";
constexpr std::string_view kApple = "http://apple.com/ns/ical/";

bool is(const xmlNode* node, std::string_view space, std::string_view name) {
    if (node->type != XML_ELEMENT_NODE || !node->ns || !node->ns->href) return false;
    return space == reinterpret_cast<const char*>(node->ns->href) &&
           name == reinterpret_cast<const char*>(node->name);
}

std::string textOf(const xmlNode* node) {
    std::unique_ptr<xmlChar, decltype(xmlFree)> content(xmlNodeGetContent(node), xmlFree);
    return content ? std::string(trim(reinterpret_cast<const char*>(content.get()))) : std::string();
}

// The number in a status line ("HTTP/1.1 404 Not Found"); 0 when it holds none.
int statusCode(std::string_view line) {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) return 0;
    return digitsNumber(trim(line.substr(space + 1)).substr(0, 3), 3).value_or(0);
}

std::vector<std::string> hrefsIn(const xmlNode* node) {
    std::vector<std::string> hrefs;
    for (const xmlNode* c = node->children; c; c = c->next)
        if (is(c, kDav, "href")) hrefs.push_back(textOf(c));
    return hrefs;
}

void readProperty(const xmlNode* p, DavResource& r) {
    if (is(p, kDav, "getetag")) {
        r.etag = textOf(p);
    } else if (is(p, kDav, "displayname")) {
        r.displayName = textOf(p);
    } else if (is(p, kDav, "sync-token")) {
        r.syncToken = textOf(p);
    } else if (is(p, kCalendarServer, "getctag")) {
        r.ctag = textOf(p);
    } else if (is(p, kApple, "calendar-color")) {
        r.colour = textOf(p);
    } else if (is(p, kCalDav, "calendar-data")) {
        std::unique_ptr<xmlChar, decltype(xmlFree)> content(xmlNodeGetContent(p), xmlFree);
        if (content) r.calendarData = reinterpret_cast<const char*>(content.get());
    } else if (is(p, kDav, "resourcetype")) {
        for (const xmlNode* c = p->children; c; c = c->next) {
            r.collection = r.collection || is(c, kDav, "collection");
            r.calendar = r.calendar || is(c, kCalDav, "calendar");
        }
    } else if (is(p, kCalDav, "supported-calendar-component-set")) {
        r.componentsGiven = true;
        for (const xmlNode* c = p->children; c; c = c->next) {
            if (!is(c, kCalDav, "comp")) continue;
            std::unique_ptr<xmlChar, decltype(xmlFree)> name(xmlGetProp(c, BAD_CAST "name"), xmlFree);
            if (name && equalsNoCase(reinterpret_cast<const char*>(name.get()), "VEVENT")) r.events = true;
        }
    } else if (is(p, kDav, "current-user-principal")) {
        r.principal = hrefsIn(p);
    } else if (is(p, kCalDav, "calendar-home-set")) {
        r.calendarHome = hrefsIn(p);
    }
}

DavResource readResponse(const xmlNode* response) {
    DavResource r;
    bool hrefSeen = false;
    for (const xmlNode* c = response->children; c; c = c->next) {
        if (is(c, kDav, "href") && !hrefSeen) {
            r.href = textOf(c);
            hrefSeen = true;
        } else if (is(c, kDav, "status")) {
            r.status = statusCode(textOf(c));
        } else if (is(c, kDav, "propstat")) {
            int status = 200;
            const xmlNode* prop = nullptr;
            for (const xmlNode* s = c->children; s; s = s->next) {
                if (is(s, kDav, "status")) status = statusCode(textOf(s));
                if (is(s, kDav, "prop")) prop = s;
            }
            if (!prop || status < 200 || status > 299) continue;
            for (const xmlNode* p = prop->children; p; p = p->next) readProperty(p, r);
        }
    }
    return r;
}

void ignoreMessage(void*, const char*, ...) {}

}  // namespace

Result<DavMultistatus> readMultistatus(std::string_view xml) {
    if (xml.empty()) return Failure{"the server's answer was empty where a list of resources was expected"};
    if (xml.size() > static_cast<std::size_t>(INT_MAX)) return Failure{"the server's answer is too large"};
    // The parser's globals are set up once, before any thread reads an answer.
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
    // A damaged answer is reported by the result, not by the library on standard error.
    xmlSetGenericErrorFunc(nullptr, ignoreMessage);
    // No network, no entity substitution, no DTD loading: the answer is read as data, nothing more.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "answer.xml", nullptr, options), xmlFreeDoc);
    if (!doc) return Failure{"the server's answer is not XML (not a CalDAV server?)"};
    const xmlNode* root = xmlDocGetRootElement(doc.get());
    if (!root || !is(root, kDav, "multistatus"))
        return Failure{"the server's answer is not a WebDAV multistatus (not a CalDAV server?)"};
    DavMultistatus out;
    for (const xmlNode* c = root->children; c; c = c->next) {
        if (is(c, kDav, "response")) {
            DavResource r = readResponse(c);
            if (!r.href.empty()) out.resources.push_back(std::move(r));
        } else if (is(c, kDav, "sync-token")) {
            out.syncToken = textOf(c);
        }
    }
    return out;
}

}  // namespace tavrin
