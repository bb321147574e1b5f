#include "core/utilities/FileSelection.h"

namespace tavrin {

FileSelection SelectionFromPaths(const std::vector<std::string>& paths) {
    FileSelection selection;
    if (paths.empty()) return selection;
    const std::string& first = paths.front();
    const auto slash = first.rfind('/');
    selection.directory = slash == std::string::npos ? std::string() : first.substr(0, slash + 1);
    for (const std::string& path : paths) {
        if (selection.names.size() == kMaxChosenFiles) break;
        const auto cut = path.rfind('/');
        selection.names.push_back(cut == std::string::npos ? path : path.substr(cut + 1));
    }
    selection.count = static_cast<int>(selection.names.size());
    selection.cancelled = false;
    return selection;
}

}  // namespace tavrin
