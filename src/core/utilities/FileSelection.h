#pragma once
// What the file-open dialog returns: the chosen files' folder and names.
#include <string>
#include <vector>

namespace tavrin {

inline constexpr std::size_t kMaxChosenFiles = 200;

struct FileSelection {
    int count = 0;                   // 0 when cancelled
    std::vector<std::string> names;  // without folder, in the dialog's order
    std::string directory;           // ends with "/"
    bool cancelled = true;

    // The first chosen file's full path; empty when nothing was chosen.
    std::string firstPath() const { return count > 0 ? directory + names.front() : std::string(); }
};

// The selection for the full paths a dialog returned. All files of one choice share a folder; the
// folder is the first path's. At most 200 names are kept. No paths is a cancel.
FileSelection selectionFromPaths(const std::vector<std::string>& paths);

}  // namespace tavrin
