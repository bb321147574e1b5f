#pragma once
// The servers ctest's calendar fixture started (tests/fixtures/calendar_servers.py): their addresses,
// and the few requests tests make of them besides Tavrin's own.
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

}  // namespace tavrin::test
