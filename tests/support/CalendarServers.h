#pragma once
// The servers ctest's calendar fixture started (tests/fixtures/calendar_servers.py): their addresses,
// and the few requests tests make of them besides Tavrin's own.
#include <time.h>

#include <fstream>
#include <map>
#include <string>

#include "platform/HttpClient.h"

namespace tavrin::test {

class CalendarServers {
  public:
    CalendarServers() {
        std::ifstream in(std::string(TAVRIN_BINARY_DIR) + "/calendar-servers/servers.env");
        for (std::string line; std::getline(in, line);)
            if (const auto equals = line.find('='); equals != std::string::npos)
                at_[line.substr(0, equals)] = line.substr(equals + 1);
    }
    // "" when the fixture did not start it (radicale not installed).
    std::string operator[](const std::string& name) const { return at_.count(name) ? at_.at(name) : ""; }
    std::string log() const {
        std::ifstream in(std::string(TAVRIN_BINARY_DIR) + "/calendar-servers/feeds.log");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // What the feed server answers for /feed/NAME.ics from now on.
    Result<HttpResponse> setFeed(const std::string& name, const std::string& mode) const {
        return HttpClient().send({"PUT", (*this)["FEEDS"] + "/control/" + name, {}, mode, "", ""});
    }
    // Puts (or replaces) an event resource into `user`'s calendar "work".
    Result<HttpResponse> putEvent(const std::string& user, const std::string& resource,
                                  const std::string& ics) const {
        return HttpClient().send({"PUT",
                                  (*this)["RADICALE"] + "/" + user + "/work/" + resource,
                                  {{"Content-Type", "text/calendar"}},
                                  ics,
                                  user,
                                  user + "-pw"});
    }

  private:
    std::map<std::string, std::string> at_;
};

// The day `offset` days from today in the zone of TZ, as iCalendar writes a date ("20261225"), or
// with `pattern` another strftime form; taken at noon, so no clock change moves it to another day.
inline std::string dayFromToday(int offset, const char* pattern = "%Y%m%d") {
    const time_t now = ::time(nullptr);
    tm day{};
    ::localtime_r(&now, &day);
    day.tm_hour = 12;
    day.tm_min = day.tm_sec = 0;
    day.tm_mday += offset;
    day.tm_isdst = -1;
    const time_t noon = ::mktime(&day);
    ::localtime_r(&noon, &day);
    char text[32];
    ::strftime(text, sizeof text, pattern, &day);
    return text;
}

// One event as a calendar resource: `lines` hold its properties besides UID and DTSTAMP.
inline std::string eventResource(const std::string& uid, const std::string& lines) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tavrin tests//EN\r\nBEGIN:VEVENT\r\nUID:" + uid +
           "\r\nDTSTAMP:20260101T000000Z\r\n" + lines + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

}  // namespace tavrin::test
