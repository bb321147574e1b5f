#pragma once
// The support mail: a mailto: link that opens the user's mail program on a new message to the
// maker's support, its subject and body filled in with the program's version, the operating system
// and the moment. Nothing is sent by the program itself.
#include <string>
#include <string_view>

#include "core/store/Store.h"
#include "core/timezones/DateTime.h"

namespace tavrin {

// The operating system as the system keys describe it: on the NT family (platform 2) "ProductName",
// "CurrentVersion", "CurrentBuildNumber" and "CSDVersion", elsewhere "ProductName" and
// "VersionNumber"; each piece is followed by one blank.
std::string operatingSystemText(Store& store, int platformId);

struct SupportMail {
    std::string subject;
    std::string body;  // lines end in CR LF
    friend bool operator==(const SupportMail&, const SupportMail&) = default;
};

// The subject "Tavrin for Win: " + version, and the body: the application version, the operating
// system, the date and time `now` in the desktop's short date and long time, a blank line, and the
// request to describe the question or the bug, followed by a line holding one blank.
SupportMail composeSupportMail(const std::string& versionText, const std::string& osText,
                               const DateTime& now);

// `text` with every byte but letters, digits and "-._~" (and those in `keep`) written as %XX, so a
// mail or web link carries it unchanged: blanks, "&", "?", "#", "%", "+", line breaks, non-ASCII.
std::string percentEncode(std::string_view text, std::string_view keep = {});

// "mailto:" + mailbox + "?Subject=" + subject + "&body=" + body, each part percent-encoded.
std::string supportMailLink(const std::string& mailbox, const SupportMail& mail);

}  // namespace tavrin
