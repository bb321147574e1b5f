#pragma once
// A radicale of a test's (or a benchmark's) own, started through the fixture script on a free port
// with its calendars in a folder it keeps, so that it can be stopped and started again as a server
// that went away and came back; and new, empty calendars on any radicale of the fixture's users.
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <string>

#include "platform/HttpClient.h"

extern char** environ;

namespace tavrin::test {

// A new, empty calendar of `user` (password "<user>-pw") on the radicale at `server`, under a name
// no other test uses; its address.
inline std::string newCalendar(const std::string& server, const std::string& user, const std::string& name) {
    static int count = 0;
    const std::string address = server + "/" + user + "/" + name + "-" + std::to_string(::getpid()) + "-" +
                                std::to_string(::time(nullptr)) + "-" + std::to_string(++count) + "/";
    (void)HttpClient().send({"MKCALENDAR", address, {}, "", user, user + "-pw"});
    return address;
}

class LocalRadicale {
  public:
    explicit LocalRadicale(std::string folder) : folder_(std::move(folder)) {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof at;
        ::bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at);
        ::getsockname(s, reinterpret_cast<sockaddr*>(&at), &size);
        port_ = ntohs(at.sin_port);
        ::close(s);
        start();
    }
    ~LocalRadicale() { stop(); }
    LocalRadicale(const LocalRadicale&) = delete;
    LocalRadicale& operator=(const LocalRadicale&) = delete;

    std::string address() const { return "http://127.0.0.1:" + std::to_string(port_); }
    // Whether it answers.
    bool start() {
        const std::string script = std::string(TAVRIN_SOURCE_DIR) + "/tests/fixtures/calendar_servers.py";
        const std::string port = std::to_string(port_);
        const char* argv[] = {"python3", script.c_str(), "radicale", folder_.c_str(), port.c_str(), nullptr};
        if (::posix_spawnp(&pid_, "python3", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
            return false;
        for (int i = 0; i < 200; ++i) {
            if (HttpClient().send({"OPTIONS", address() + "/", {}, "", "", ""})) return true;
            ::usleep(50000);
        }
        return false;
    }
    void stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }

  private:
    std::string folder_;
    int port_ = 0;
    pid_t pid_ = 0;
};

}  // namespace tavrin::test
