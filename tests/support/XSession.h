#pragma once
// The real program under its own X server, for tests that press it with real input events: starting
// children, a server on a display number it picks itself, and reading the program's probe file (see
// src/app/TestProbe.h) back.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace tavrin::test {

inline bool onPath(const char* program) {
    return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}

// A child process, ended and reaped when this goes.
struct Child {
    pid_t pid = -1;
    Child() = default;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() {
        if (pid <= 0) return;
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }
};

// Starts `argv` with `env` added to this process's environment; its output goes to `log`.
inline pid_t spawn(const std::vector<std::string>& argv,
                   const std::vector<std::pair<std::string, std::string>>& env, const std::string& log,
                   int keepFd = -1) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    for (const auto& [name, value] : env) ::setenv(name.c_str(), value.c_str(), 1);
    const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(out, 1);
    ::dup2(out, 2);
    for (int fd = 3; fd < 256; ++fd)
        if (fd != keepFd) ::close(fd);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
}

inline bool waitFor(const std::function<bool()>& ready, int seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (ready()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return ready();
}

// Starts Xvfb (1024 x 768) on a display number it picks; returns ":N", or empty when it did not start.
// With `endsWithLastClient`, the server ends when its last client leaves, as one without a session does.
inline std::string startXvfb(Child& server, const std::string& log, bool endsWithLastClient = false) {
    int fds[2];
    if (::pipe(fds) != 0) return {};
    server.pid = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24",
                        "-nolisten", "tcp", endsWithLastClient ? "-terminate" : "-noreset"},
                       {}, log, fds[1]);
    ::close(fds[1]);
    std::string number;
    pollfd pfd{fds[0], POLLIN, 0};
    char buffer[32];
    while (number.find('\n') == std::string::npos && ::poll(&pfd, 1, 15000) > 0) {
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        number.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    if (number.find('\n') == std::string::npos) return {};
    return ":" + number.substr(0, number.find('\n'));
}

// A real press of the left button at `x`,`y` through XTest. The pointer goes there by way of a point
// beside it: xdotool waits for a move that never comes when the pointer is already where it is sent.
inline bool pressAt(const std::string& display, int x, int y) {
    const std::string at = std::to_string(x) + " " + std::to_string(y);
    const std::string beside = std::to_string(x > 0 ? x - 1 : x + 1) + " " + std::to_string(y);
    return std::system(("DISPLAY=" + display + " xdotool mousemove " + beside + " mousemove --sync " + at +
                        " click 1")
                           .c_str()) == 0;
}

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

// One window as the probe wrote it: its rectangle and the names of its labels.
struct ProbedWindow {
    bool found = false;
    Rect rect;
    std::vector<std::string> labels;
};

inline ProbedWindow probed(const std::string& probeFile, const std::string& title) {
    auto fields = [](const std::string& line) {
        std::vector<std::string> out;
        std::stringstream in(line);
        for (std::string f; std::getline(in, f, '\t');) out.push_back(f);
        return out;
    };
    ProbedWindow w;
    std::ifstream in(probeFile);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        const std::vector<std::string> f = fields(line);
        if (f.size() >= 3 && f[0] == "window") {
            inside = f[1] == title;
            if (inside) {
                w.found = true;
                std::sscanf(f[2].c_str(), "%d,%d,%d,%d", &w.rect.x, &w.rect.y, &w.rect.w, &w.rect.h);
            }
        } else if (inside && f.size() >= 3 && f[1] == "label") {
            w.labels.push_back(f[2]);
        }
    }
    return w;
}

}  // namespace tavrin::test
