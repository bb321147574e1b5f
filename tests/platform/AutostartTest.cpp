#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/Autostart.h"

using namespace tavrin;
namespace fs = std::filesystem;

namespace {

struct Folder {
    Folder() {
        char name[] = "/tmp/tavrin-autostart-XXXXXX";
        path = ::mkdtemp(name);
    }
    ~Folder() { fs::remove_all(path); }
    std::string path;
};

}  // namespace

TEST(Autostart, EntryIsCompleteAndItsCommandRoundTrips) {
    const std::string command = " /opt/x y/tavrin\t--a\\b\n";
    const std::string text = Autostart::entryText(command);
    EXPECT_EQ(text.rfind("[Desktop Entry]\nType=Application\nName=Tavrin\n", 0), 0u) << text;
    EXPECT_NE(text.find("\nExec=\\s/opt/x y/tavrin\\t--a\\\\b\\n\n"), std::string::npos) << text;
    EXPECT_EQ(Autostart::execOf(text), command);
    // Entries written by other tools: other groups, spaces around '=', CR LF.
    EXPECT_EQ(
        Autostart::execOf("[Desktop Action x]\nExec=wrong\n[Desktop Entry]\r\nName=T\r\nExec = tavrin\r\n"),
        "tavrin");
    EXPECT_EQ(Autostart::execOf("[Desktop Entry]\nName=T\n"), "");
}

TEST(Autostart, EntryExistsExactlyWhileItsFileDoes) {
    Folder folder;
    bool writable = true;
    Autostart entry(folder.path + "/autostart", [&](const std::string&) { return writable; });
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
    EXPECT_FALSE(fs::exists(entry.entryPath()));
}
