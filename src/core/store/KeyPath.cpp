#include "core/store/KeyPath.h"

namespace tavrin {

bool isKeyPathWithin(std::string_view path, std::string_view ancestor) {
    const auto names = splitKeyPath(path);
    const auto above = splitKeyPath(ancestor);
    if (names.size() < above.size()) return false;
    for (std::size_t i = 0; i < above.size(); ++i)
        if (!equalsNoCase(names[i], above[i])) return false;
    return true;
}

bool sameKeyPath(std::string_view a, std::string_view b) {
    return splitKeyPath(a).size() == splitKeyPath(b).size() && isKeyPathWithin(a, b);
}

std::vector<std::string_view> splitKeyPath(std::string_view path) {
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

std::string joinKeyPath(std::string_view parent, std::string_view child) {
    std::string out;
    for (std::string_view part : {parent, child})
        for (std::string_view name : splitKeyPath(part)) {
            if (!out.empty()) out += '\\';
            out += name;
        }
    return out;
}

bool isValidName(std::string_view name) {
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F) return false;
    return true;
}

}  // namespace tavrin
