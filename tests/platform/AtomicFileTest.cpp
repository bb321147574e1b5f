#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/AtomicFile.h"

using namespace tavrin;
namespace fs = std::filesystem;

namespace {

struct Folder {
    Folder() {
        char name[] = "/tmp/tavrin-atomic-XXXXXX";
        path = ::mkdtemp(name);
    }
    ~Folder() { fs::remove_all(path); }
    std::string path;
};

unsigned modeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

}  // namespace

TEST(AtomicFile, NewFilesAreOwnerOnlyAndReplacementsKeepTheirMode) {
    Folder folder;
    const std::string file = folder.path + "/a/b/data.txt";
    ASSERT_TRUE(AtomicFile::makeFolders(folder.path + "/a/b"));
    ASSERT_TRUE(AtomicFile::write(file, std::string("one\0two", 7)));
    EXPECT_EQ(modeOf(file), 0600u);
    std::string back;
    ASSERT_TRUE(AtomicFile::read(file, back));
    EXPECT_EQ(back, std::string("one\0two", 7));
    ::chmod(file.c_str(), 0644);
    ASSERT_TRUE(AtomicFile::write(file, ""));
    EXPECT_EQ(modeOf(file), 0644u);
    ASSERT_TRUE(AtomicFile::read(file, back));
    EXPECT_EQ(back, "");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path + "/a/b"), fs::directory_iterator()), 1);
}

TEST(AtomicFile, FailuresNameThePathAndTheReason) {
    Folder folder;
    const auto r = AtomicFile::write(folder.path + "/missing/data.txt", "x");
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.error, ENOENT);
    EXPECT_NE(r.message.find(folder.path + "/missing/data.txt"), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("No such file"), std::string::npos) << r.message;
    ASSERT_TRUE(AtomicFile::write(folder.path + "/plain", "x"));
    EXPECT_FALSE(AtomicFile::makeFolders(folder.path + "/plain/sub"));
    std::string text;
    EXPECT_FALSE(AtomicFile::read(folder.path + "/none", text));
}
