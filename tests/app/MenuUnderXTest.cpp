// The real program under its own X server: a real press on the clock window (through XTest) opens
// the menu above it, showing the chosen zones' lines. What the windows show is read back from the
// program's probe file.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

bool onPath(const char* program) {
    return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}

// A child process, ended and reaped when this goes.
struct Child {
    pid_t pid = -1;
    ~Child() {
        if (pid <= 0) return;
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }
};

// Starts `argv` with `env` added to this process's environment; its output goes to `log`.
pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::pair<std::string, std::string>>& env,
            const std::string& log, int keepFd = -1) {
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

bool waitFor(const std::function<bool()>& ready, int seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (ready()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return ready();
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream in(line);
    for (std::string f; std::getline(in, f, '\t');) out.push_back(f);
    return out;
}

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};
Rect rectOf(const std::string& text) {
    Rect r;
    std::sscanf(text.c_str(), "%d,%d,%d,%d", &r.x, &r.y, &r.w, &r.h);
    return r;
}

// One window as the probe wrote it: its rectangle and the names of its labels.
struct ProbedWindow {
    bool found = false;
    Rect rect;
    std::vector<std::string> labels;
};
ProbedWindow probed(const std::string& probeFile, const std::string& title) {
    ProbedWindow w;
    std::ifstream in(probeFile);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        const std::vector<std::string> f = fields(line);
        if (f.size() >= 3 && f[0] == "window") {
            inside = f[1] == title;
            if (inside) {
                w.found = true;
                w.rect = rectOf(f[2]);
            }
        } else if (inside && f.size() >= 3 && f[1] == "label") {
            w.labels.push_back(f[2]);
        }
    }
    return w;
}

TEST(MenuUnderX, ARealPressOnTheClockOpensTheMenuWithItsLinesAboveIt) {
    if (!onPath("Xvfb") || !onPath("xdotool"))
        GTEST_SKIP() << "Xvfb or xdotool is not installed (tools/setup.sh installs both): this test needs a "
                        "real X server to press the clock window";
    tavrin::test::TempDir root("tavrin-menu-x");
    for (const char* sub : {"config/tavrin", "configdirs", "data", "runtime"})
        fs::create_directories(root.file(sub));
    fs::permissions(root.file("runtime"), fs::perms::owner_all);
    std::ofstream(root.file("config/tavrin/user.reg"))
        << "REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n\"ColScheme\"=\"E99012\"\n\"NumTimeZones\"=\"3\"\n"
           "\"TZone1\"=\"Asia/Tokyo\"\n\"TZone2\"=\"Europe/Berlin\"\n\"TZone3\"=\"America/St_Johns\"\n"
           "\"TZSType\"=\"0\"\n\"PNDisp\"=\"0\"\n";

    // The server picks a free display and writes its number on the pipe.
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    Child xvfb;
    xvfb.pid = spawn({"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", "1024x768x24",
                      "-nolisten", "tcp", "-noreset"},
                     {}, root.file("xvfb.log"), pipeFds[1]);
    ::close(pipeFds[1]);
    std::string display;
    pollfd pfd{pipeFds[0], POLLIN, 0};
    char buffer[32];
    while (display.find('\n') == std::string::npos && ::poll(&pfd, 1, 15000) > 0) {
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        display.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    ASSERT_NE(display.find('\n'), std::string::npos) << "Xvfb did not start";
    display = ":" + display.substr(0, display.find('\n'));

    const std::string probe = root.file("probe.txt");
    Child program;
    program.pid = spawn({TAVRIN_BINARY_DIR "/src/tavrin"},
                        {{"DISPLAY", display},
                         {"QT_QPA_PLATFORM", "xcb"},
                         {"XDG_CONFIG_HOME", root.file("config")},
                         {"XDG_CONFIG_DIRS", root.file("configdirs")},
                         {"XDG_DATA_HOME", root.file("data")},
                         {"XDG_RUNTIME_DIR", root.file("runtime")},
                         {"TZDIR", TAVRIN_TEST_DATA "/zoneinfo"},
                         {"TAVRIN_PROBE", probe}},
                        root.file("tavrin.log"));
    ASSERT_TRUE(waitFor([&] { return probed(probe, "Tavrin").found; }, 20)) << "the clock never showed";
    const Rect clock = probed(probe, "Tavrin").rect;

    const std::string press = "DISPLAY=" + display + " xdotool mousemove --sync " +
                              std::to_string(clock.x + clock.w / 2) + " " +
                              std::to_string(clock.y + clock.h / 2) + " click 1";
    ASSERT_EQ(std::system(press.c_str()), 0);
    ASSERT_TRUE(waitFor([&] { return probed(probe, "Tavrin Menu").labels.size() >= 3; }, 10))
        << "no menu with three lines after a press on the clock";

    const ProbedWindow menu = probed(probe, "Tavrin Menu");
    EXPECT_LE(menu.rect.y + menu.rect.h, clock.y);  // above the clock
    EXPECT_EQ(menu.rect.x + menu.rect.w, 1024);     // against the screen's right edge
    // Alphabetically by city: Berlin, St Johns, Tokyo, each with its full name.
    const char* names[] = {" - (GMT+01:00) Berlin, Germany", " - (GMT-03:30) St Johns, Canada",
                           " - (GMT+09:00) Tokyo, Japan"};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string& line = menu.labels[i];
        EXPECT_GT(line.size(), std::string(names[i]).size()) << line;
        EXPECT_EQ(line.substr(line.size() - std::string(names[i]).size()), names[i]) << line;
    }
}

}  // namespace
