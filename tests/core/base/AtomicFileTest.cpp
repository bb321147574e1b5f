#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "core/base/AtomicFile.h"
#include "support/TempDir.h"

using namespace tavrin;

namespace {

unsigned modeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

}  // namespace

TEST(AtomicFile, NewFilesAreOwnerOnlyAndReplacementsKeepTheirMode) {
    tavrin::test::TempDir folder("tavrin-atomic");
    const std::string file = folder.file("a/b/data.txt");
    ASSERT_TRUE(AtomicFile::makeFolders(folder.file("a/b")));
    for (const std::string& text : {std::string("one\0two", 7), std::string()}) {
        ASSERT_TRUE(AtomicFile::write(file, text));
        EXPECT_EQ(modeOf(file), text.empty() ? 0644u : 0600u);
        EXPECT_EQ(AtomicFile::read(file).valueOr("<failed>"), text);
        ::chmod(file.c_str(), 0644);
    }
    const std::filesystem::directory_iterator files(folder.file("a/b"));
    EXPECT_EQ(std::distance(files, std::filesystem::directory_iterator()), 1);
}

TEST(AtomicFile, FailuresNameThePathAndTheReason) {
    tavrin::test::TempDir folder("tavrin-atomic");
    const auto r = AtomicFile::write(folder.file("missing/data.txt"), "x");
    EXPECT_EQ(r.osError(), ENOENT);
    EXPECT_NE(r.message().find(folder.file("missing/data.txt")), std::string::npos) << r.message();
    ASSERT_TRUE(AtomicFile::write(folder.file("plain"), "x"));
    EXPECT_FALSE(AtomicFile::makeFolders(folder.file("plain/sub")));
    EXPECT_EQ(AtomicFile::read(folder.file("none")).osError(), ENOENT);
}

// After the rename the new file is in place: a folder that cannot be flushed is worth a warning, but
// calling the save failed would have the user repeat what is done already.
TEST(AtomicFile, AFailedFlushOfTheFolderAfterTheRenameIsAWarningNotAFailure) {
    tavrin::test::TempDir folder("tavrin-atomic");
    AtomicFile::WriteOptions options;
    int flushes = 0;
    options.calls.fsync = [&flushes](int fd) {
        if (++flushes == 1) return ::fsync(fd);  // the file itself
        errno = EIO;
        return -1;
    };
    ::testing::internal::CaptureStderr();
    const auto r = AtomicFile::write(folder.file("data.txt"), "new", options);
    const std::string warning = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(r.ok()) << r.message();
    EXPECT_NE(warning.find("warning: cannot flush the folder " + folder.path()), std::string::npos)
        << warning;
    EXPECT_EQ(AtomicFile::read(folder.file("data.txt")).valueOr("<failed>"), "new");
}

// A disk that fills up part-way through, or a flush that fails: the old file stays whole, nothing is
// left beside it, and the reason is told.
TEST(AtomicFile, AFailedWriteLeavesTheOldFileWholeAndNothingBesideIt) {
    std::size_t budget = 0;
    AtomicFile::WriteCalls diskFull = AtomicFile::WriteCalls::system(), flushFails = diskFull;
    diskFull.write = [&](int fd, const void* p, std::size_t n) -> ssize_t {
        if (budget == 0) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t k = std::min(n, budget);
        budget -= k;
        return ::write(fd, p, k);
    };
    flushFails.fsync = [](int) {
        errno = EIO;
        return -1;
    };
    for (const auto& [calls, reason] :
         {std::pair{diskFull, "No space left"}, {flushFails, "Input/output error"}}) {
        tavrin::test::TempDir folder("tavrin-atomic");
        const std::string file = folder.file("data.txt");
        ASSERT_TRUE(AtomicFile::write(file, "old"));
        budget = 100;
        AtomicFile::WriteOptions options;
        options.calls = calls;
        const auto r = AtomicFile::write(file, std::string(4000, 'x'), options);
        EXPECT_FALSE(r.ok());
        EXPECT_NE(r.message().find(reason), std::string::npos) << r.message();
        EXPECT_EQ(AtomicFile::read(file).valueOr("<failed>"), "old");
        const std::filesystem::directory_iterator files(folder.path());
        EXPECT_EQ(std::distance(files, std::filesystem::directory_iterator()), 1);
    }
}
