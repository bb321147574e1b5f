#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/DisplayChoice.h"

using namespace tavrin;

namespace {

// An X display that answers only under the name ":0".
bool onlyZero(const std::string& name) {
    return name == ":0";
}

// A bare X server that ends when its last client leaves, as a server without a session would reset.
struct TerminatingServer {
    pid_t pid = -1;
    std::string display;

    bool start() {
        if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) return false;
        int fds[2];
        if (::pipe(fds) != 0) return false;
        pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-terminate", "-nolisten", "tcp", "-screen",
                     "0", "320x240x24", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        pollfd pfd{fds[0], POLLIN, 0};
        char buffer[32];
        std::string number;
        while (number.find('\n') == std::string::npos && ::poll(&pfd, 1, 15000) > 0) {
            const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
            if (n <= 0) break;
            number.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(fds[0]);
        if (number.find('\n') == std::string::npos) return false;
        display = ":" + number.substr(0, number.find('\n'));
        return true;
    }
    // Whether the server has ended within `seconds`.
    bool endsWithin(int seconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        do {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        } while (std::chrono::steady_clock::now() < end);
        return false;
    }
    ~TerminatingServer() {
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
    }
};

}  // namespace

TEST(DisplayChoice, WaylandRunsThroughXWaylandOrRefusesWithAReason) {
    struct Case {
        const char* what;
        const char* qt;
        const char* wayland;
        const char* display;
        const char* platform;
        bool refused;
    } cases[] = {
        {"X session", nullptr, nullptr, ":0", "", false},
        {"Wayland with XWayland", nullptr, "wayland-0", ":0", "xcb", false},
        {"Wayland without XWayland", nullptr, "wayland-0", nullptr, "", true},
        {"Wayland whose DISPLAY does not answer", nullptr, "wayland-0", ":7", "", true},
        {"X display that does not answer", nullptr, nullptr, ":7", "", true},
        {"no display at all", nullptr, nullptr, nullptr, "", true},
        {"empty variables count as unset", "", "", "", "", true},
        {"a platform chosen on purpose", "offscreen", "wayland-0", nullptr, "", false},
    };
    for (const Case& c : cases) {
        const DisplayChoice choice = chooseDisplay(c.qt, c.wayland, c.display, onlyZero);
        EXPECT_EQ(choice.platform, c.platform) << c.what;
        EXPECT_EQ(!choice.refusal.empty(), c.refused) << c.what << ": " << choice.refusal;
    }
    EXPECT_NE(chooseDisplay(nullptr, "wayland-0", nullptr, onlyZero).refusal.find("XWayland"),
              std::string::npos);
    EXPECT_NE(chooseDisplay(nullptr, "wayland-0", ":7", onlyZero).refusal.find(":7"), std::string::npos);
}

TEST(DisplayChoice, AnXDisplayNobodyServesIsNotReachable) {
    EXPECT_FALSE(XDisplayProbe().reachable(":4711"));
    EXPECT_FALSE(XDisplayProbe().reachable("no such display"));
}

TEST(DisplayChoice, TheProbeKeepsItsConnectionUntilReleased) {
    TerminatingServer server;
    if (!server.start()) GTEST_SKIP() << "Xvfb is not installed (tools/setup.sh installs it)";
    {
        XDisplayProbe probe;
        ASSERT_TRUE(probe.reachable(server.display));
        // While the probe holds its connection the server has a client and stays.
        EXPECT_FALSE(server.endsWithin(1));
        probe.release();
        EXPECT_TRUE(server.endsWithin(10)) << "the probe's connection was not closed";
    }
}
