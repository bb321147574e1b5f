#include "core/utilities/SupportMail.h"

#include "core/store/StoreAccess.h"
#include "core/timezones/FormatPattern.h"
#include "core/timezones/SystemFormats.h"

namespace tavrin {
namespace {

constexpr const char* kVersionKey9x = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kVersionKeyNt = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kLineBreak = "\r\n";

bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string operatingSystemText(Store& store, int platformId) {
    std::string text;
    if (platformId == 2) {
        for (const char* name : {"ProductName", "CurrentVersion", "CurrentBuildNumber", "CSDVersion"})
            text += readMachineValue(store, kVersionKeyNt, name).valueOr(" ");  // a part unknown: its blank
    } else {
        for (const char* name : {"ProductName", "VersionNumber"})
            text += readMachineValue(store, kVersionKey9x, name).valueOr(" ");
    }
    return text;
}

SupportMail composeSupportMail(const std::string& versionText, const std::string& osText,
                               const DateTime& now) {
    SupportMail mail;
    mail.subject = "Tavrin for Win: " + versionText;
    mail.body = "Application Version: " + versionText + kLineBreak;
    mail.body += "Operating System: " + osText + kLineBreak;
    mail.body += "Date and Time: " + formatPattern(now, kSystemShortDate) + " " +
                 formatPattern(now, kSystemLongTime) + kLineBreak;
    mail.body += kLineBreak;
    mail.body += "Please document below the question you have or bug report.";
    mail.body += kLineBreak;
    mail.body += " ";
    mail.body += kLineBreak;
    return mail;
}

std::string percentEncode(std::string_view text, std::string_view keep) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (unreserved(c) || keep.find(ch) != std::string_view::npos) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

std::string supportMailLink(const std::string& mailbox, const SupportMail& mail) {
    // The address keeps what an address is made of; "?", "%" and "#" would end or bend it.
    return "mailto:" + percentEncode(mailbox, "@!$'*+=") + "?Subject=" + percentEncode(mail.subject) +
           "&body=" + percentEncode(mail.body);
}

}  // namespace tavrin
