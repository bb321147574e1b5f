#pragma once
// The store on Linux: each root is one text file (RegFile), the machine root also shows the system's
// read-only keys, and the Run key's "Tavrin" value is the root's XDG autostart entry.
//
// Every change is on disk, atomically, when its call returns. Writers take an advisory lock on a file
// beside the root's file and re-read it under the lock, so two running programs lose neither's
// changes. A file that cannot be read whole is copied aside before it is first rewritten.
#include <sys/types.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/base/AtomicFile.h"
#include "core/base/Result.h"
#include "core/store/TreeStore.h"
#include "platform/Autostart.h"

namespace tavrin {

class FileLock;
struct Paths;

class FileStore : public TreeStore {
  public:
    // Whether the user may write the file at a path (or make it and its folders, when it does not
    // exist yet). Tests replace it, since they run with rights that ignore permission bits.
    using WritableProbe = std::function<bool(const std::string& filePath)>;

    FileStore(std::string userFile, std::string machineFile, std::string userAutostartDir,
              std::string machineAutostartDir, WritableProbe writable = {});
    ~FileStore() override;
    FileStore(const FileStore&) = delete;
    FileStore& operator=(const FileStore&) = delete;

    // The permission check of the running user (access(2) on the file, or on the nearest folder
    // that exists).
    static bool defaultWritable(const std::string& filePath);

    Status QueryValueData(const KeyHandle& key, std::string_view name, std::string& data,
                          ValueType& type) override;
    Status SetValue(const KeyHandle& key, std::string_view name, ValueType type,
                    std::string_view data) override;
    Status DeleteValue(const KeyHandle& key, std::string_view name) override;
    Status EnumValue(const KeyHandle& key, std::uint32_t index, std::string& name) override;
    Status visitValues(const KeyHandle& key, const ValueVisitor& visit) override;
    std::string takeFailure() override { return std::exchange(lastFailure_, {}); }
    bool canWrite(Root root) override;
    std::vector<std::string> takeNotices() override;

    // The read(2) of the store's files. Tests replace it to act out a read that fails.
    void setReadCall(AtomicFile::ReadCall call) { readCall_ = std::move(call); }
    // A batch holds the root's lock from its start to its commit, so no other program writes in
    // between, and rewrites the file once, atomically, at the commit. One batch per root at a time.
    Status beginChanges(Root root) override;
    Status commitChanges(Root root) override;

  protected:
    const RegTree& readTree(Root root) override;
    Status updateTree(Root root, const TreeChange& change) override;
    bool rootWritable(Root root) override;
    Status readStatus(Root root) override;

  private:
    // What tells one version of a file from another. The cache keeps the file open, so its inode
    // number cannot be handed to a newer file while the cache holds it.
    struct Stamp {
        unsigned long long device = 0, inode = 0, size = 0;
        long long mtimeSec = 0, mtimeNsec = 0, ctimeSec = 0, ctimeNsec = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct RootFile {
        std::string path;
        unsigned fileMode = 0600;
        unsigned folderMode = 0700;
        RegTree tree;
        bool cached = false;
        bool exists = false;
        bool corrupt = false;
        int readError = 0;  // the file exists but could not be read; `tree` is the last one read
        std::vector<std::size_t> badLines;  // of a corrupt file
        int fd = -1;
        Stamp stamp;
        // An open batch: the lock it holds and the tree its changes go to.
        int batchLock = -1;
        RegTree batchTree;
        bool batchChanged = false;
    };

    RootFile& file(Root root);
    Autostart& autostart(Root root);
    bool isRunValue(const KeyHandle& key, std::string_view name) const;
    // The status of an autostart change, with its reason kept for the store's edge.
    Status keepReason(const Result<>& done);
    // Brings the root's tree up to date with its file; `always` re-reads even an unchanged-looking file.
    void refresh(RootFile& f, bool always);
    void readFailed(RootFile& f, int error);
    // Takes `tree`, just written as `size` bytes, as what the file holds, with the stamp of the file
    // now in place.
    void adoptWritten(RootFile& f, RegTree&& tree, std::size_t size);
    // Keeps a copy of a corrupt file under a name no other copy has, or finds the one kept by an
    // earlier try.
    struct KeptCopy {
        std::string path;
        bool madeNow = false;
    };
    Result<KeptCopy> keepCorruptCopy(const RootFile& f);
    // Takes the root's lock for a change and reads the file afresh under it.
    Status lockForChange(RootFile& f, const Result<FileLock>& lock);
    // Writes a changed tree over the root's file, keeping a corrupt file aside first.
    Status writeTree(RootFile& f, RegTree&& tree);

    RootFile files_[2];
    Autostart autostart_[2];
    WritableProbe writable_;
    AtomicFile::ReadCall readCall_;
    std::string lastFailure_;
    std::vector<std::string> notices_;
};

// The store for the real user: the files and autostart folders of `paths`, with `machineProviders`
// (the system keys, the zone catalogue) shown under the machine root.
std::unique_ptr<Store> makeLinuxStore(const Paths& paths,
                                      std::vector<std::shared_ptr<KeyProvider>> machineProviders);

}  // namespace tavrin
