#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Autostart.h"
#include "support/TempDir.h"

using namespace tavrin;

TEST(Autostart, EntryIsCompleteAndItsCommandRoundTrips) {
    const std::string command = " /opt/x y/tavrin\t--a\\b\n";
    const std::string text = Autostart::entryText(command);
    EXPECT_EQ(text.rfind("[Desktop Entry]\nType=Application\nName=Tavrin\n", 0), 0u) << text;
    for (const char* line : {"\nExec=\\s/opt/x y/tavrin\\t--a\\\\b\\n\n", "\nTerminal=false\n",
                             "\nX-GNOME-Autostart-enabled=true\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << text;
    EXPECT_EQ(Autostart::execOf(text), command);
    EXPECT_NE(Autostart::entryText("tavrin --x ").find("\nExec=tavrin --x\\s\n"), std::string::npos);
    // Entries written by other tools: other groups, spaces around '=', CR LF.
    EXPECT_EQ(
        Autostart::execOf("[Desktop Action x]\nExec=wrong\n[Desktop Entry]\r\nName=T\r\nExec = tavrin\r\n"),
        "tavrin");
    EXPECT_EQ(Autostart::execOf("[Desktop Entry]\nName=T\n"), "");
}

TEST(Autostart, EntryExistsExactlyWhileItsFileDoes) {
    tavrin::testing::TempDir folder("tavrin-autostart");
    bool writable = true;
    Autostart entry(folder.file("autostart"), [&](const std::string&) { return writable; });
    std::string command;
    EXPECT_FALSE(entry.read(command));
    EXPECT_EQ(entry.remove(), 2);
    EXPECT_EQ(entry.write(std::string("a\0b", 3)), 87);
    ASSERT_EQ(entry.write("tavrin"), 0);
    ASSERT_TRUE(entry.read(command));
    EXPECT_EQ(command, "tavrin");
    writable = false;
    EXPECT_EQ(entry.write("other"), 5);
    EXPECT_EQ(entry.remove(), 5);
    writable = true;
    ASSERT_EQ(entry.remove(), 0);
    EXPECT_FALSE(std::filesystem::exists(entry.entryPath()));
}
