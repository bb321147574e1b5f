#include "platform/ApplicationDirectory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "core/base/Text.h"

namespace tavrin {

namespace {

bool isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

Result<std::string> executableDirectory() {
    std::array<char, 4096> buffer{};
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n < 0)
        return Failure{std::string("cannot tell the program's folder: ") + std::strerror(errno), errno};
    if (n == 0) return Failure{"cannot tell the program's folder: /proc/self/exe is empty"};
    return folderOf(std::string(buffer.data(), static_cast<std::size_t>(n)));
}

std::string applicationDirectory(const std::string& executableDir) {
    if (isDirectory(executableDir + "/Images")) return executableDir;
    const std::string installed = folderOf(executableDir) + "/share/tavrin";
    if (isDirectory(installed + "/Images")) return installed;
    return executableDir;
}

Result<std::string> applicationDirectory() {
    const Result<std::string> executableDir = executableDirectory();
    if (!executableDir) return executableDir.why();
    return applicationDirectory(*executableDir);
}

}  // namespace tavrin
