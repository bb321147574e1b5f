#include <gtest/gtest.h>

#include "platform/Autostart.h"

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
        {"/opt/My Apps/\"clock\"/tavrin", "\nExec=\"/opt/My Apps/\\\\\"clock\\\\\"/tavrin\"\n"},
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
