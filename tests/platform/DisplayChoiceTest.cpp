#include "platform/DisplayChoice.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <string>

#include "support/TempDir.h"
#include "support/XSession.h"

using namespace tavrin;

namespace {

// An X display that answers only under the name ":0".
bool onlyZero(const std::string& name) {
    return name == ":0";
}

}  // namespace

TEST(DisplayChoice, WaylandRunsThroughXWaylandOrRefusesWithAReason) {
    struct Case {
        const char* what;
        const char* qt;
        const char* wayland;
        const char* display;
        const char* platform;
        const char* refusal;  // a word the refusal names, or nullptr for none
    } cases[] = {
        {"X session", nullptr, nullptr, ":0", "", nullptr},
        {"Wayland with XWayland", nullptr, "wayland-0", ":0", "xcb", nullptr},
        {"Wayland without XWayland", nullptr, "wayland-0", nullptr, "", "XWayland"},
        {"Wayland whose DISPLAY does not answer", nullptr, "wayland-0", ":7", "", ":7"},
        {"X display that does not answer", nullptr, nullptr, ":7", "", ""},
        {"no display at all", nullptr, nullptr, nullptr, "", ""},
        {"empty variables count as unset", "", "", "", "", ""},
        {"a platform chosen on purpose", "offscreen", "wayland-0", nullptr, "", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Result<std::string> choice = chooseDisplay(c.qt, c.wayland, c.display, onlyZero);
        EXPECT_EQ(choice.valueOr({}), c.platform);
        EXPECT_EQ(!choice, c.refusal != nullptr) << choice.message();
        if (c.refusal) {
            EXPECT_NE(choice.message().find(c.refusal), std::string::npos) << choice.message();
        }
    }
    EXPECT_FALSE(XDisplayProbe().reachable(":4711"));
    EXPECT_FALSE(XDisplayProbe().reachable("no such display"));
}

// A server without a session ends when its last client leaves: the probe's connection keeps it until
// the toolkit has its own.
TEST(DisplayChoice, TheProbeKeepsItsConnectionUntilReleased) {
    using namespace tavrin::test;
    if (!onPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed (tools/setup.sh installs it)";
    TempDir dir("tavrin-display");
    Child server;
    const std::string display = startXvfb(server, dir.file("xvfb.log"), true);
    ASSERT_FALSE(display.empty()) << "Xvfb did not start";
    const auto endsWithin = [&server](int seconds) {
        return waitFor([&server] { return ::waitpid(server.pid, nullptr, WNOHANG) == server.pid; }, seconds);
    };
    XDisplayProbe probe;
    ASSERT_TRUE(probe.reachable(display));
    EXPECT_FALSE(endsWithin(1));
    probe.release();
    const bool ended = endsWithin(10);
    EXPECT_TRUE(ended) << "the probe's connection was not closed";
    if (ended) server.pid = -1;  // reaped already
}
