#include "platform/ApplicationDirectory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>

namespace tavrin {

namespace {

bool isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

std::string ExecutableDirectory() {
    std::array<char, 4096> buffer{};
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return {};
    return parentOf(std::string(buffer.data(), static_cast<std::size_t>(n)));
}

std::string ApplicationDirectory(const std::string& executableDir) {
    if (isDirectory(executableDir + "/Images")) return executableDir;
    const std::string installed = parentOf(executableDir) + "/share/tavrin";
    if (isDirectory(installed + "/Images")) return installed;
    return executableDir;
}

std::string ApplicationDirectory() {
    return ApplicationDirectory(ExecutableDirectory());
}

}  // namespace tavrin
