#include "core/reminders/ReminderFileStamp.h"

#include <sys/stat.h>

#include <functional>

namespace tavrin {
namespace {

bool statusOf(const std::string& path, ReminderFileStamp& s) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    s.exists = true;
    s.device = static_cast<unsigned long long>(st.st_dev);
    s.inode = static_cast<unsigned long long>(st.st_ino);
    s.size = static_cast<unsigned long long>(st.st_size);
    s.mtimeSec = st.st_mtim.tv_sec;
    s.mtimeNsec = st.st_mtim.tv_nsec;
    return true;
}

}  // namespace

ReminderFileStamp ReminderFileStamp::of(const std::string& path, std::string_view text) {
    ReminderFileStamp s;
    s.known = true;
    if (statusOf(path, s)) s.digest = std::hash<std::string_view>{}(text);
    return s;
}

ReminderFileStamp ReminderFileStamp::missing() {
    ReminderFileStamp s;
    s.known = true;
    return s;
}

bool ReminderFileStamp::statusMatches(const std::string& path) const {
    if (!known) return false;
    ReminderFileStamp now;
    const bool there = statusOf(path, now);
    if (!there) return !exists;
    return exists && now.device == device && now.inode == inode && now.size == size &&
           now.mtimeSec == mtimeSec && now.mtimeNsec == mtimeNsec;
}

}  // namespace tavrin
