#include "core/store/KeyPath.h"

namespace tavrin {

bool IsKeyPathWithin(std::string_view path, std::string_view ancestor) {
    const auto names = SplitKeyPath(path);
    const auto above = SplitKeyPath(ancestor);
    if (names.size() < above.size()) return false;
    for (std::size_t i = 0; i < above.size(); ++i)
        if (!equalsNoCase(names[i], above[i])) return false;
    return true;
}

bool SameKeyPath(std::string_view a, std::string_view b) {
    return SplitKeyPath(a).size() == SplitKeyPath(b).size() && IsKeyPathWithin(a, b);
}

std::vector<std::string_view> SplitKeyPath(std::string_view path) {
    std::vector<std::string_view> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) names.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

std::string JoinKeyPath(std::string_view parent, std::string_view child) {
    std::string out;
    for (std::string_view part : {parent, child})
        for (std::string_view name : SplitKeyPath(part)) {
            if (!out.empty()) out += '\\';
            out += name;
        }
    return out;
}

bool IsValidName(std::string_view name) {
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F) return false;
    return true;
}

}  // namespace tavrin
