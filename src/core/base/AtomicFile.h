#pragma once
// Whole-file reads and crash-safe whole-file writes. A write goes to a temporary file in the same
// folder, is flushed to disk, renamed over the old file, and the folder is flushed: a crash or a
// full disk leaves either the old file or the new one, never half of one.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include <sys/types.h>

#include "core/base/Result.h"

namespace tavrin {

class AtomicFile {
  public:
    // The low-level calls of a write. Tests replace them to act out a full disk or a failing flush.
    struct WriteCalls {
        std::function<ssize_t(int, const void*, std::size_t)> write;
        std::function<int(int)> fsync;
        static WriteCalls system();
    };

    struct WriteOptions {
        unsigned mode = 0600;        // of a new file; a file that exists keeps its permission bits
        bool followLink = false;     // write where a symbolic link at the path leads, so the link stays
        bool makeFolders = false;    // make the missing folders above the file first
        unsigned folderMode = 0700;  // of the folders made
        bool replace = true;         // false: an existing file is kept and the write fails with EEXIST
        WriteCalls calls = WriteCalls::system();
    };

    // Every call answers with a Result whose message names the step and the file ("cannot write
    // /x/y: No space left on device") and whose error is the errno of the step that failed.

    // Replaces the file at `path` with `contents`. A new file gets `mode`; a file that exists keeps
    // its permission bits.
    static Result<> write(const std::string& path, std::string_view contents, unsigned mode = 0600);
    static Result<> write(const std::string& path, std::string_view contents, const WriteOptions& options);
    // Where `path` leads after following symbolic links (the path itself when it is none).
    static std::string followLinks(const std::string& path);
    // The read(2) of a whole-file read. Tests replace it to act out a read that fails.
    using ReadCall = std::function<ssize_t(int fd, void* buffer, std::size_t size)>;

    // Reads the whole file.
    static Result<std::string> read(const std::string& path);
    // Reads the open file `fd` from where it stands to its end, for a caller that keeps the
    // descriptor (to tell the version it read); `path` names it in a failure's message.
    static Result<std::string> readOpen(int fd, const std::string& path, const ReadCall& readCall = {});
    // Makes `folder` and any missing folder above it with `mode`.
    static Result<> makeFolders(const std::string& folder, unsigned mode = 0700);
    // Flushes a folder's entries (after a rename, link or unlink in it). A failure is reported on
    // standard error only: whatever was renamed is in place already.
    static void syncFolder(const std::string& folder);
    // Removes the temporary files that writes of `path` left behind when their process died before
    // the rename ("<name>.tmp" and six letters or digits). Only a writer that holds the file's lock
    // may call it, so that no temporary file of a write in progress is taken. Returns how many went.
    static int removeLeftTemps(const std::string& path);
    // The same, with the flush call of a write's options.
    static void syncFolder(const std::string& folder, const std::function<int(int)>& fsyncCall);
};

}  // namespace tavrin
