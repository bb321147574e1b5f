#include "core/base/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "core/base/Text.h"

namespace tavrin {
namespace {

Result<> failure(int error, const std::string& what, const std::string& path) {
    return Result<>::failure(what + " " + path + ": " + std::strerror(error), error == 0 ? EIO : error);
}

bool writeAll(const AtomicFile::WriteCalls& calls, int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = calls.write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;  // no progress: the disk is full
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

AtomicFile::WriteCalls AtomicFile::WriteCalls::system() {
    WriteCalls c;
    c.write = [](int fd, const void* p, std::size_t n) { return ::write(fd, p, n); };
    c.fsync = [](int fd) { return ::fsync(fd); };
    return c;
}

std::string AtomicFile::followLinks(const std::string& path) {
    std::string target = path;
    for (int hops = 0; hops < 16; ++hops) {
        char buf[4096];
        const ssize_t n = ::readlink(target.c_str(), buf, sizeof buf - 1);
        if (n <= 0) break;
        const std::string link(buf, static_cast<std::size_t>(n));
        target = link[0] == '/' ? link : folderOf(target) + "/" + link;
    }
    return target;
}

void AtomicFile::syncFolder(const std::string& folder) {
    syncFolder(folder, ::fsync);
}

void AtomicFile::syncFolder(const std::string& folder, const std::function<int(int)>& fsyncCall) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    if (fsyncCall(fd) != 0) {
        // The new file is in place; only its name may not have reached the disk yet.
        std::fprintf(stderr, "tavrin: warning: cannot flush the folder %s: %s\n", folder.c_str(),
                     std::strerror(errno));
    }
    ::close(fd);
}

int AtomicFile::removeLeftTemps(const std::string& path) {
    const std::string folder = folderOf(path);
    const auto slash = path.find_last_of('/');
    const std::string prefix = (slash == std::string::npos ? path : path.substr(slash + 1)) + ".tmp";
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.size() != prefix.size() + 6 || name.substr(0, prefix.size()) != prefix) continue;
        bool temp = true;
        for (char c : name.substr(prefix.size()))
            temp = temp && ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'));
        if (temp && ::unlinkat(::dirfd(dir), entry->d_name, 0) == 0) ++removed;
    }
    ::closedir(dir);
    if (removed > 0) syncFolder(folder);
    return removed;
}

Result<> AtomicFile::makeFolders(const std::string& folder, unsigned mode) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return {};
        return failure(ENOTDIR, "cannot make the folder", folder);
    }
    const std::string parent = folderOf(folder);
    if (parent != folder && parent != ".") {
        Result r = makeFolders(parent, mode);
        if (!r) return r;
    }
    if (::mkdir(folder.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST)
        return failure(errno, "cannot make the folder", folder);
    syncFolder(parent);
    return {};
}

Result<> AtomicFile::write(const std::string& path, std::string_view contents, unsigned mode) {
    WriteOptions options;
    options.mode = mode;
    return write(path, contents, options);
}

Result<> AtomicFile::write(const std::string& path, std::string_view contents, const WriteOptions& options) {
    const std::string target = options.followLink ? followLinks(path) : path;
    if (options.makeFolders) {
        Result r = makeFolders(folderOf(target), options.folderMode);
        if (!r) return r;
    }
    std::vector<char> temp(target.begin(), target.end());
    const std::string suffix = ".tmpXXXXXX";
    temp.insert(temp.end(), suffix.begin(), suffix.end());
    temp.push_back('\0');
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return failure(errno, "cannot create a temporary file beside", target);
    const std::string tempPath(temp.data());

    auto fail = [&](const char* what) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        ::unlink(tempPath.c_str());
        return failure(error, what, target);
    };
    struct stat st {};
    const mode_t finalMode =
        ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : static_cast<mode_t>(options.mode);
    if (::fchmod(fd, finalMode) != 0) return fail("cannot set the permissions of");
    if (!writeAll(options.calls, fd, contents)) return fail("cannot write");
    if (options.calls.fsync(fd) != 0) return fail("cannot flush");
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(tempPath.c_str());
        return failure(error, "cannot write", target);
    }
    // link() refuses an existing name, so a file made there meanwhile is not replaced either.
    const bool placed = options.replace ? ::rename(tempPath.c_str(), target.c_str()) == 0
                                        : ::link(tempPath.c_str(), target.c_str()) == 0;
    if (!placed || !options.replace) {
        const int error = errno;
        ::unlink(tempPath.c_str());
        if (!placed) return failure(error, "cannot replace", target);
    }
    syncFolder(folderOf(target), options.calls.fsync);
    return {};
}

Result<std::string> AtomicFile::read(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return failure(errno, "cannot open", path).why();
    Result<std::string> text = readOpen(fd, path);
    ::close(fd);
    return text;
}

Result<std::string> AtomicFile::readOpen(int fd, const std::string& path, const ReadCall& readCall) {
    std::string contents;
    char buffer[65536];
    for (;;) {
        const ssize_t n = readCall ? readCall(fd, buffer, sizeof buffer) : ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return failure(errno, "cannot read", path).why();
        }
        if (n == 0) break;
        contents.append(buffer, static_cast<std::size_t>(n));
    }
    return contents;
}

}  // namespace tavrin
