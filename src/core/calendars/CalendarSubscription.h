#pragma once
// One calendar the user subscribed to: where its events come from, how it is shown, whether it is on.
#include <cstdint>
#include <string>

namespace tavrin {

enum class CalendarSource {
    File,    // a local .ics file
    Feed,    // an http(s) or webcal address of an .ics feed
    CalDav,  // a CalDAV calendar collection
};

struct CalendarSubscription {
    // Stable for the life of the subscription; names its cache files and its password entry.
    std::string id;
    std::string name;
    // A file path, an http(s)/webcal address, or a CalDAV collection address.
    std::string address;
    CalendarSource source = CalendarSource::Feed;
    // The login for the server, empty where none is needed. The password is never stored here.
    std::string user;
    // 0xRRGGBB, the colour its days and events are marked with.
    std::uint32_t colour = 0x3465A4;
    bool enabled = true;
};

}  // namespace tavrin
