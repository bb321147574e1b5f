#include "core/utilities/FileSelection.h"

#include "core/base/Text.h"

namespace tavrin {

FileSelection selectionFromPaths(const std::vector<std::string>& paths) {
    FileSelection selection;
    if (paths.empty()) return selection;
    const std::string& first = paths.front();
    selection.directory = first.substr(0, first.size() - fileNameOf(first).size());
    for (const std::string& path : paths) {
        if (selection.names.size() == kMaxChosenFiles) break;
        selection.names.emplace_back(fileNameOf(path));
    }
    selection.count = static_cast<int>(selection.names.size());
    selection.cancelled = false;
    return selection;
}

}  // namespace tavrin
