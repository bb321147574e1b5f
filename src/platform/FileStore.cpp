#include "platform/FileStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "core/base/AtomicFile.h"
#include "core/base/Text.h"
#include "core/settings/Settings.h"
#include "core/state/Paths.h"
#include "core/store/KeyPath.h"
#include "core/store/RegFile.h"

namespace tavrin {
namespace {

std::size_t slot(Root root) {
    return root == Root::LocalMachine ? 0 : 1;
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// What tells one version of a file from another, read from its status (`S` is FileStore's Stamp).
template <typename S>
S stampOf(const struct stat& st) {
    return S{static_cast<unsigned long long>(st.st_dev),
             static_cast<unsigned long long>(st.st_ino),
             static_cast<unsigned long long>(st.st_size),
             st.st_mtim.tv_sec,
             st.st_mtim.tv_nsec,
             st.st_ctim.tv_sec,
             st.st_ctim.tv_nsec};
}

// Holds the advisory lock beside a root's file for the length of one change.
class WriteLock {
  public:
    explicit WriteLock(const std::string& lockPath, unsigned mode) {
        fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, static_cast<mode_t>(mode));
        if (fd_ < 0) fd_ = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) return;
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(fd_);
                fd_ = -1;
                return;
            }
        }
    }
    ~WriteLock() {
        if (fd_ >= 0) ::close(fd_);  // closing drops the lock
    }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;
    bool held() const { return fd_ >= 0; }
    // Hands the held lock to the caller, who closes its descriptor to drop it.
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_ = -1;
};

}  // namespace

FileStore::FileStore(std::string userFile, std::string machineFile, std::string userAutostartDir,
                     std::string machineAutostartDir, WritableProbe writable)
    : autostart_{Autostart(std::move(machineAutostartDir), writable ? writable : defaultWritable, 0644, 0755),
                 Autostart(std::move(userAutostartDir), writable ? writable : defaultWritable, 0600, 0700)},
      writable_(writable ? std::move(writable) : WritableProbe(defaultWritable)) {
    // The machine-wide settings are for every user of the computer, so everyone may read them.
    files_[0].path = std::move(machineFile);
    files_[0].fileMode = 0644;
    files_[0].folderMode = 0755;
    files_[1].path = std::move(userFile);
}

FileStore::~FileStore() {
    for (RootFile& f : files_) {
        if (f.fd >= 0) ::close(f.fd);
        if (f.batchLock >= 0) ::close(f.batchLock);
    }
}

bool FileStore::defaultWritable(const std::string& filePath) {
    if (::access(filePath.c_str(), F_OK) == 0)
        return ::access(filePath.c_str(), W_OK) == 0 &&
               ::access(folderOf(filePath).c_str(), W_OK | X_OK) == 0;
    std::string folder = folderOf(filePath);
    for (;;) {
        struct stat st {};
        if (::stat(folder.c_str(), &st) == 0)
            return S_ISDIR(st.st_mode) && ::access(folder.c_str(), W_OK | X_OK) == 0;
        const std::string up = folderOf(folder);
        if (up == folder) return false;
        folder = up;
    }
}

FileStore::RootFile& FileStore::file(Root root) {
    return files_[slot(root)];
}

Autostart& FileStore::autostart(Root root) {
    return autostart_[slot(root)];
}

bool FileStore::rootWritable(Root root) {
    return writable_(file(root).path);
}

void FileStore::refresh(RootFile& f, bool always) {
    struct stat st {};
    if (::stat(f.path.c_str(), &st) != 0) {
        const int error = errno;
        if (f.fd >= 0) ::close(f.fd);
        f.fd = -1;
        f.tree = RegTree();
        f.exists = error != ENOENT && error != ENOTDIR;
        f.readError = f.exists ? error : 0;
        f.corrupt = false;
        f.cached = true;
        f.stamp = Stamp();
        return;
    }
    const Stamp now = stampOf<Stamp>(st);
    if (!always && f.cached && f.exists && f.readError == 0 && f.stamp == now) return;
    if (f.fd >= 0) ::close(f.fd);
    f.fd = ::open(f.path.c_str(), O_RDONLY | O_CLOEXEC);
    f.cached = true;
    f.exists = true;
    std::string text;
    struct stat opened {};
    if (f.fd < 0 || ::fstat(f.fd, &opened) != 0) {
        f.readError = errno == 0 ? EIO : errno;
        f.tree = RegTree();
        f.corrupt = false;
        return;
    }
    // Read through the descriptor we keep, so the stamp and the text belong to the same file.
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(f.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            f.readError = errno;
            f.tree = RegTree();
            f.corrupt = false;
            return;
        }
        if (n == 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    RegParseResult parsed = RegFile::parse(text);
    f.tree = std::move(parsed.tree);
    f.corrupt = parsed.corrupt();
    f.readError = 0;
    f.stamp = stampOf<Stamp>(opened);
}

bool FileStore::keepCorruptCopy(const RootFile& f) {
    for (int n = 0; n < 1000; ++n) {
        const std::string aside = f.path + ".corrupt" + (n == 0 ? std::string() : "." + std::to_string(n));
        if (::link(f.path.c_str(), aside.c_str()) == 0) {
            AtomicFile::syncFolder(folderOf(f.path));
            return true;
        }
        if (errno == EEXIST) {
            if (sameFile(f.path, aside)) return true;  // kept already, by an earlier try
            continue;
        }
        // No hard links here: copy the bytes to a name nobody has taken.
        std::string text;
        if (!AtomicFile::read(f.path, text)) return false;
        const int fd = ::open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        const bool written =
            ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) && ::fsync(fd) == 0;
        ::close(fd);
        if (!written) {
            ::unlink(aside.c_str());
            return false;
        }
        AtomicFile::syncFolder(folderOf(f.path));
        return true;
    }
    return false;
}

const RegTree& FileStore::readTree(Root root) {
    RootFile& f = file(root);
    if (f.batchLock >= 0) return f.batchTree;
    refresh(f, false);
    return f.tree;
}

Status FileStore::writeTree(RootFile& f, const RegTree& tree) {
    if (f.exists && f.corrupt && !keepCorruptCopy(f)) return status::kWriteFailed;
    if (!AtomicFile::write(f.path, RegFile::write(tree), f.fileMode)) return status::kWriteFailed;
    // What we wrote is what the file holds now; the next read confirms it by its stamp.
    refresh(f, true);
    return status::kSuccess;
}

Status FileStore::updateTree(Root root, const TreeChange& change) {
    RootFile& f = file(root);
    if (!writable_(f.path)) return status::kAccessDenied;
    if (f.batchLock >= 0) {
        RegTree work = f.batchTree;
        bool changed = false;
        const Status s = change(work, changed);
        if (s != status::kSuccess || !changed) return s;
        f.batchTree = std::move(work);
        f.batchChanged = true;
        return status::kSuccess;
    }
    if (!AtomicFile::makeFolders(folderOf(f.path), f.folderMode)) return status::kWriteFailed;
    WriteLock lock(f.path + ".lock", f.fileMode);
    if (!lock.held()) return status::kWriteFailed;
    // Another program may have written since we last looked: start from what is on disk now.
    refresh(f, true);
    if (f.readError != 0) return status::kAccessDenied;  // never replace what we could not read
    RegTree work = f.tree;
    bool changed = false;
    const Status s = change(work, changed);
    if (s != status::kSuccess || !changed) return s;
    return writeTree(f, work);
}

Status FileStore::beginChanges(Root root) {
    RootFile& f = file(root);
    if (f.batchLock >= 0) return status::kBadArgument;
    if (!writable_(f.path)) return status::kAccessDenied;
    if (!AtomicFile::makeFolders(folderOf(f.path), f.folderMode)) return status::kWriteFailed;
    WriteLock lock(f.path + ".lock", f.fileMode);
    if (!lock.held()) return status::kWriteFailed;
    refresh(f, true);
    if (f.readError != 0) return status::kAccessDenied;
    f.batchTree = f.tree;
    f.batchChanged = false;
    f.batchLock = lock.release();
    return status::kSuccess;
}

Status FileStore::commitChanges(Root root) {
    RootFile& f = file(root);
    if (f.batchLock < 0) return status::kBadArgument;
    RegTree tree = std::move(f.batchTree);
    f.batchTree = RegTree();
    const int lock = f.batchLock;
    f.batchLock = -1;
    // A failed write leaves the file, and so what the store reads, as it was before the batch.
    const Status s = f.batchChanged ? writeTree(f, tree) : status::kSuccess;
    ::close(lock);
    return s;
}

bool FileStore::isRunValue(const KeyHandle& key, std::string_view name) const {
    return key.open && equalsNoCase(name, kRunValueName) && isRunKey(key.path);
}

Status FileStore::QueryValueData(const KeyHandle& key, std::string_view name, std::string& data,
                                 ValueType& type) {
    if (!isRunValue(key, name)) return TreeStore::QueryValueData(key, name, data, type);
    if ((key.access & kQueryValueBit) == 0) return status::kAccessDenied;
    std::string command;
    if (!autostart(key.root).read(command)) return status::kNotFound;
    data = std::move(command);
    type = ValueType::String;
    return status::kSuccess;
}

Status FileStore::SetValue(const KeyHandle& key, std::string_view name, ValueType type,
                           std::string_view data) {
    if (!isRunValue(key, name)) return TreeStore::SetValue(key, name, type, data);
    if ((key.access & kSetValueBit) == 0) return status::kAccessDenied;
    if (type != ValueType::String) return status::kBadArgument;
    return autostart(key.root).write(data);
}

Status FileStore::DeleteValue(const KeyHandle& key, std::string_view name) {
    if (!isRunValue(key, name)) return TreeStore::DeleteValue(key, name);
    if ((key.access & kSetValueBit) == 0) return status::kAccessDenied;
    return autostart(key.root).remove();
}

Status FileStore::EnumValue(const KeyHandle& key, std::uint32_t index, std::string& name) {
    if (!key.open || !isRunKey(key.path)) return TreeStore::EnumValue(key, index, name);
    if ((key.access & kQueryValueBit) == 0) return status::kAccessDenied;
    std::vector<std::string> names;
    std::string command;
    if (autostart(key.root).read(command)) names.push_back(kRunValueName);
    if (const RegKey* k = readTree(key.root).find(key.path))
        for (const RegValue& v : k->values())
            if (!equalsNoCase(v.name, kRunValueName)) names.push_back(v.name);
    if (index >= names.size()) return status::kNoMoreItems;
    name = names[index];
    return status::kSuccess;
}

std::unique_ptr<Store> makeLinuxStore(const Paths& paths,
                                      std::vector<std::shared_ptr<KeyProvider>> machineProviders) {
    auto store = std::make_unique<FileStore>(paths.userStoreFile(), paths.machineStoreFile(),
                                             paths.userAutostartDir(), paths.machineAutostartDir());
    for (auto& provider : machineProviders) store->mount(Root::LocalMachine, std::move(provider));
    return store;
}

}  // namespace tavrin
