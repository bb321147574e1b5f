#pragma once
// Whole-file reads and crash-safe whole-file writes. A write goes to a temporary file in the same
// folder, is flushed to disk, renamed over the old file, and the folder is flushed: a crash or a
// full disk leaves either the old file or the new one, never half of one.
#include <string>
#include <string_view>

namespace tavrin {

class AtomicFile {
  public:
    struct Result {
        int error = 0;        // errno of the step that failed; 0 on success
        std::string message;  // what failed, for the user: "cannot write /x/y: No space left on device"

        bool ok() const { return error == 0; }
        explicit operator bool() const { return ok(); }
    };

    // Replaces the file at `path` with `contents`. A new file gets `mode`; a file that exists keeps
    // its permission bits.
    static Result write(const std::string& path, std::string_view contents, unsigned mode = 0600);
    // Reads the whole file.
    static Result read(const std::string& path, std::string& contents);
    // Makes `folder` and any missing folder above it with `mode`.
    static Result makeFolders(const std::string& folder, unsigned mode = 0700);
    // Flushes a folder's entries (after a rename, link or unlink in it).
    static void syncFolder(const std::string& folder);
    // The folder part of `path` ("." for a bare name).
    static std::string folderOf(const std::string& path);
};

}  // namespace tavrin
