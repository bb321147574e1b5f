#include "platform/FileStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

#include "core/base/AtomicFile.h"
#include "core/base/FileLock.h"
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

bool FileStore::canWrite(Root root) {
    return writable_(file(root).path);
}

bool FileStore::rootWritable(Root root) {
    // Asked by every change before it writes: a refusal says why, like any other failed write.
    if (canWrite(root)) return true;
    lastFailure_ = "cannot write " + file(root).path + ": " + std::strerror(EACCES);
    return false;
}

void FileStore::refresh(RootFile& f, bool always) {
    struct stat st {};
    if (::stat(f.path.c_str(), &st) != 0) {
        const int error = errno;
        if (f.fd >= 0) ::close(f.fd);
        f.fd = -1;
        f.exists = error != ENOENT && error != ENOTDIR;
        f.cached = true;
        f.stamp = Stamp();
        if (f.exists) {
            readFailed(f, error);
            return;
        }
        f.tree = RegTree();
        f.readError = 0;
        f.corrupt = false;
        return;
    }
    const Stamp now = stampOf<Stamp>(st);
    if (!always && f.cached && f.exists && f.readError == 0 && f.stamp == now) return;
    if (f.fd >= 0) ::close(f.fd);
    f.fd = ::open(f.path.c_str(), O_RDONLY | O_CLOEXEC);
    f.cached = true;
    f.exists = true;
    struct stat opened {};
    if (f.fd < 0 || ::fstat(f.fd, &opened) != 0) {
        readFailed(f, errno == 0 ? EIO : errno);
        return;
    }
    // Read through the descriptor we keep, so the stamp and the text belong to the same file.
    const Result<std::string> text = AtomicFile::readOpen(f.fd, f.path, readCall_);
    if (!text) {
        readFailed(f, text.osError());
        return;
    }
    ParsedRegFile parsed = RegFile::parse(*text);
    f.tree = std::move(parsed.tree);
    f.corrupt = parsed.corrupt();
    f.badLines = std::move(parsed.badLines);
    f.readError = 0;
    f.stamp = stampOf<Stamp>(opened);
}

void FileStore::adoptWritten(RootFile& f, RegTree&& tree, std::size_t size) {
    if (f.fd >= 0) ::close(f.fd);
    f.fd = ::open(f.path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    // We hold the lock, so no program that takes it has written since; a file of another size was
    // changed by one that does not: read it back the long way, as when it cannot be stamped.
    if (f.fd < 0 || ::fstat(f.fd, &st) != 0 || static_cast<std::size_t>(st.st_size) != size) {
        refresh(f, true);
        return;
    }
    f.tree = std::move(tree);
    f.stamp = stampOf<Stamp>(st);
    f.cached = true;
    f.exists = true;
    f.corrupt = false;
    f.badLines.clear();
    f.readError = 0;
}

void FileStore::readFailed(RootFile& f, int error) {
    // The tree read last stays for the keys it holds; queries fail until a read succeeds again.
    f.readError = error;
    f.stamp = Stamp();
    lastFailure_ = "cannot read " + f.path + ": " + std::strerror(error);
}

Status FileStore::readStatus(Root root) {
    return file(root).readError != 0 ? status::kReadFailed : status::kSuccess;
}

Result<FileStore::KeptCopy> FileStore::keepCorruptCopy(const RootFile& f) {
    for (int n = 0; n < 1000; ++n) {
        const std::string aside = f.path + ".corrupt" + (n == 0 ? std::string() : "." + std::to_string(n));
        if (::link(f.path.c_str(), aside.c_str()) == 0) {
            AtomicFile::syncFolder(folderOf(f.path));
            return KeptCopy{aside, true};
        }
        if (errno == EEXIST) {
            if (sameFile(f.path, aside)) return KeptCopy{aside, false};  // kept already, by an earlier try
            continue;
        }
        // No hard links here: copy the bytes to a name nobody has taken.
        const Result<std::string> read = AtomicFile::read(f.path);
        if (!read) return read.why();
        AtomicFile::WriteOptions options;
        options.replace = false;
        if (const Result<> written = AtomicFile::write(aside, *read, options); !written) {
            if (written.osError() == EEXIST) continue;
            return written.why();
        }
        return KeptCopy{aside, true};
    }
    return Failure{"every name for a copy beside " + f.path + " is taken"};
}

const RegTree& FileStore::readTree(Root root) {
    RootFile& f = file(root);
    if (f.batchLock >= 0) return f.batchTree;
    refresh(f, false);
    return f.tree;
}

Status FileStore::writeTree(RootFile& f, RegTree&& tree) {
    if (f.exists && f.corrupt) {
        // Lines that could not be read are dropped by the rewrite: the whole file is kept first.
        const Result<KeptCopy> aside = keepCorruptCopy(f);
        if (!aside) {
            lastFailure_ = "cannot keep a copy of the damaged settings file " + f.path +
                           " before rewriting it (" + aside.message() + "); it was left as it is";
            return status::kWriteFailed;
        }
        if (aside->madeNow) {
            std::string lines;
            for (std::size_t i = 0; i < f.badLines.size() && i < 5; ++i)
                lines += (i == 0 ? "" : ", ") + std::to_string(f.badLines[i]);
            if (f.badLines.size() > 5) lines += ", ...";
            notices_.push_back("The settings file " + f.path + " could not be read whole (" +
                               (f.badLines.size() == 1 ? "line " : "lines ") + lines +
                               "). Everything else in it is kept; the whole file as it was is saved as " +
                               aside->path + ".");
        }
    }
    const std::string text = RegFile::write(tree);
    if (const auto written = AtomicFile::write(f.path, text, f.fileMode); !written) {
        lastFailure_ = written.message();
        return status::kWriteFailed;
    }
    // What we wrote is what the file holds now: kept as it is rather than read back, which on a
    // large store costs as much as the write. The stamp comes from the file now in place.
    adoptWritten(f, std::move(tree), text.size());
    return status::kSuccess;
}

Status FileStore::lockForChange(RootFile& f, const Result<FileLock>& lock) {
    if (!lock) {
        lastFailure_ = lock.message();
        return status::kWriteFailed;
    }
    // Another program may have written since we last looked: start from what is on disk now (read
    // again when its stamp changed; a file held open keeps its inode from going to another).
    refresh(f, false);
    // Never replace what could not be read: the rewrite would hold none of it.
    if (f.readError != 0) return status::kReadFailed;
    // Holding the lock, no write is under way: temporary files beside the file are from writers
    // that died before their rename.
    AtomicFile::removeLeftTemps(f.path);
    return status::kSuccess;
}

Status FileStore::updateTree(Root root, const TreeChange& change) {
    RootFile& f = file(root);
    if (!rootWritable(root)) return status::kAccessDenied;
    if (f.batchLock >= 0) {
        // A change that fails leaves the tree as it was, so the batch's tree takes it in place
        // (a copy per change would cost a whole store's worth each).
        bool changed = false;
        const Status s = change(f.batchTree, changed);
        if (s == status::kSuccess && changed) f.batchChanged = true;
        return s;
    }
    if (const auto made = AtomicFile::makeFolders(folderOf(f.path), f.folderMode); !made) {
        lastFailure_ = made.message();
        return status::kWriteFailed;
    }
    const Result lock = FileLock::take(f.path + ".lock", f.fileMode);
    if (const Status s = lockForChange(f, lock); s != status::kSuccess) return s;
    RegTree work = f.tree;
    bool changed = false;
    const Status s = change(work, changed);
    if (s != status::kSuccess || !changed) return s;
    return writeTree(f, std::move(work));
}

Status FileStore::beginChanges(Root root) {
    RootFile& f = file(root);
    if (f.batchLock >= 0) return status::kBadArgument;
    if (!rootWritable(root)) return status::kAccessDenied;
    if (const auto made = AtomicFile::makeFolders(folderOf(f.path), f.folderMode); !made) {
        lastFailure_ = made.message();
        return status::kWriteFailed;
    }
    Result lock = FileLock::take(f.path + ".lock", f.fileMode);
    if (const Status s = lockForChange(f, lock); s != status::kSuccess) return s;
    f.batchTree = f.tree;
    f.batchChanged = false;
    f.batchLock = lock->release();
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
    const Status s = f.batchChanged ? writeTree(f, std::move(tree)) : status::kSuccess;
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
    std::optional<std::string> command = autostart(key.root).command();
    if (!command) return status::kNotFound;
    data = std::move(*command);
    type = ValueType::String;
    return status::kSuccess;
}

Status FileStore::SetValue(const KeyHandle& key, std::string_view name, ValueType type,
                           std::string_view data) {
    if (!isRunValue(key, name)) return TreeStore::SetValue(key, name, type, data);
    if ((key.access & kSetValueBit) == 0) return status::kAccessDenied;
    if (type != ValueType::String) return status::kBadArgument;
    return keepReason(autostart(key.root).write(data));
}

Status FileStore::DeleteValue(const KeyHandle& key, std::string_view name) {
    if (!isRunValue(key, name)) return TreeStore::DeleteValue(key, name);
    if ((key.access & kSetValueBit) == 0) return status::kAccessDenied;
    if (!autostart(key.root).exists()) return status::kNotFound;
    return keepReason(autostart(key.root).remove());
}

Status FileStore::EnumValue(const KeyHandle& key, std::uint32_t index, std::string& name) {
    if (!key.open || !isRunKey(key.path)) return TreeStore::EnumValue(key, index, name);
    if ((key.access & kQueryValueBit) == 0) return status::kAccessDenied;
    std::vector<std::string> names;
    if (autostart(key.root).command()) names.push_back(kRunValueName);
    if (const RegKey* k = readTree(key.root).find(key.path))
        for (const RegValue& v : k->values())
            if (!equalsNoCase(v.name, kRunValueName)) names.push_back(v.name);
    if (index >= names.size()) return status::kNoMoreItems;
    name = names[index];
    return status::kSuccess;
}

Status FileStore::visitValues(const KeyHandle& key, const ValueVisitor& visit) {
    // The Run key's "Tavrin" value is the autostart entry, which the value by value walk reads.
    if (key.open && isRunKey(key.path)) return Store::visitValues(key, visit);
    return TreeStore::visitValues(key, visit);
}

Status FileStore::keepReason(const Result<>& done) {
    if (done) return status::kSuccess;
    lastFailure_ = done.message();
    switch (done.osError()) {
        case EACCES:
            return status::kAccessDenied;
        case EINVAL:
            return status::kBadArgument;
        default:
            return status::kWriteFailed;
    }
}

std::vector<std::string> FileStore::takeNotices() {
    return std::exchange(notices_, {});
}

std::unique_ptr<Store> makeLinuxStore(const Paths& paths,
                                      std::vector<std::shared_ptr<KeyProvider>> machineProviders) {
    auto store = std::make_unique<FileStore>(paths.userStoreFile(), paths.machineStoreFile(),
                                             paths.userAutostartDir(), paths.machineAutostartDir());
    for (auto& provider : machineProviders) store->mount(Root::LocalMachine, std::move(provider));
    return store;
}

}  // namespace tavrin
