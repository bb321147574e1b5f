#include <filesystem>

#include "ctl/Commands.h"

namespace tavrin::ctl {

Args endOfOptions(const Args& args, std::size_t& literalFrom) {
    Args words = args;
    literalFrom = words.size();
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "--") {
            words.erase(words.begin() + static_cast<std::ptrdiff_t>(i));
            literalFrom = i;
            break;
        }
    }
    return words;
}

int usageError(std::ostream& err, const std::string& why, std::string_view usage) {
    err << "tavrinctl: " << why << '\n' << usage;
    return 2;
}

Result<> zoneFolderReadable(const std::string& dir) {
    std::error_code ec;
    std::filesystem::directory_iterator list(dir, ec);
    if (!ec) return {};
    return Failure{"the zone folder \"" + dir + "\" cannot be read: " + ec.message(), ec.value()};
}

}  // namespace tavrin::ctl
