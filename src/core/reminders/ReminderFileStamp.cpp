#include "core/reminders/ReminderFileStamp.h"

#include <sys/stat.h>

#include <functional>
#include <optional>

namespace tavrin {
namespace {

// The stamp of the file's status, its content not yet taken in; nothing when it is not there (or
// cannot be looked at, which a later read reports).
std::optional<ReminderFileStamp> statusOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    ReminderFileStamp s;
    s.known = true;
    s.exists = true;
    s.device = static_cast<unsigned long long>(st.st_dev);
    s.inode = static_cast<unsigned long long>(st.st_ino);
    s.size = static_cast<unsigned long long>(st.st_size);
    s.mtimeSec = st.st_mtim.tv_sec;
    s.mtimeNsec = st.st_mtim.tv_nsec;
    return s;
}

}  // namespace

ReminderFileStamp ReminderFileStamp::of(const std::string& path, std::string_view text) {
    std::optional<ReminderFileStamp> s = statusOf(path);
    if (!s) return missing();
    s->digest = std::hash<std::string_view>{}(text);
    return *s;
}

ReminderFileStamp ReminderFileStamp::missing() {
    ReminderFileStamp s;
    s.known = true;
    return s;
}

bool ReminderFileStamp::statusMatches(const std::string& path) const {
    if (!known) return false;
    const std::optional<ReminderFileStamp> now = statusOf(path);
    if (!now) return !exists;
    return exists && now->device == device && now->inode == inode && now->size == size &&
           now->mtimeSec == mtimeSec && now->mtimeNsec == mtimeNsec;
}

}  // namespace tavrin
