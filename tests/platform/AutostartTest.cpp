#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "platform/Autostart.h"
#include "support/TempDir.h"

using namespace tavrin;

TEST(Autostart, EntryIsCompleteAndItsProgramRoundTrips) {
    const std::string text = Autostart::entryText("/usr/bin/tavrin");
    EXPECT_EQ(text.rfind("[Desktop Entry]\nType=Application\nName=Tavrin\n", 0), 0u) << text;
    for (const char* line :
         {"\nExec=/usr/bin/tavrin\n", "\nTerminal=false\n", "\nX-GNOME-Autostart-enabled=true\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << text;

    // A path the launcher would split or expand is one quoted argument; "%" is not a field code.
    struct Case {
        const char* program;
        const char* execLine;
    } cases[] = {
        {"/opt/My Apps/tavrin", "\nExec=\"/opt/My Apps/tavrin\"\n"},
        {"/opt/100%/tavrin", "\nExec=/opt/100%%/tavrin\n"},
        {"/home/o'neil/$bin/tavrin", "\nExec=\"/home/o'neil/\\\\$bin/tavrin\"\n"},
        {" /opt/x y/tavrin\t--a\\b\n", "\nExec=\" /opt/x y/tavrin\\t--a\\\\\\\\b\\n\"\n"},
    };
    for (const Case& c : cases) {
        const std::string entry = Autostart::entryText(c.program);
        EXPECT_NE(entry.find(c.execLine), std::string::npos) << entry;
        EXPECT_EQ(Autostart::execOf(entry), c.program);
    }
    // Entries written by other tools: other groups, spaces around '=', CR LF, a command with arguments.
    EXPECT_EQ(Autostart::execOf(
                  "[Desktop Action x]\nExec=wrong\n[Desktop Entry]\r\nName=T\r\nExec = tavrin --x\r\n"),
              "tavrin --x");
    EXPECT_EQ(Autostart::execOf("[Desktop Entry]\nName=T\n"), "");
}

// The entry is a valid desktop entry for the desktops' own checker, whatever the program's path.
TEST(Autostart, EntryPassesTheDesktopEntryChecker) {
    if (std::system("command -v desktop-file-validate >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "desktop-file-validate is not installed (tools/setup.sh installs it)";
    tavrin::test::TempDir folder("tavrin-autostart-valid");
    for (const char* program : {"/usr/bin/tavrin", "/opt/My Apps/100% \"clock\"/tavrin"}) {
        Autostart entry(folder.file("autostart"), nullptr);
        ASSERT_EQ(entry.write(program), status::kSuccess);
        const std::string command = "desktop-file-validate '" + entry.entryPath() + "' 2>&1";
        std::FILE* pipe = ::popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string output;
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
        EXPECT_EQ(::pclose(pipe), 0) << program << ": " << output;
        EXPECT_EQ(output, "") << program;
    }
}
