#include "core/timezones/ClockService.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>

namespace tavrin {

std::int64_t SystemClock::unixMillis() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void SystemClock::followMachineZone() const {
    // A zone named in the environment is the user's choice and stays.
    if (std::getenv("TZ")) return;
    // The C library reads the machine's zone file once and keeps it while TZ stays unset, so a zone
    // changed in the desktop's settings would go unnoticed for the program's whole life. The file's
    // link and identity tell when it changed; a passing TZ then makes the library read it anew.
    std::string seen;
    char target[4096];
    const ssize_t n = ::readlink("/etc/localtime", target, sizeof target - 1);
    if (n > 0) seen.assign(target, static_cast<std::size_t>(n));
    struct stat st {};
    if (::stat("/etc/localtime", &st) == 0)
        seen += '|' + std::to_string(st.st_dev) + ':' + std::to_string(st.st_ino) + ':' +
                std::to_string(st.st_mtim.tv_sec) + '.' + std::to_string(st.st_mtim.tv_nsec);
    if (seen == machineZoneSeen_) return;
    const bool first = machineZoneSeen_.empty();
    machineZoneSeen_ = seen;
    if (!first) {
        ::setenv("TZ", "UTC0", 1);
        ::tzset();
        ::unsetenv("TZ");
    }
    ::tzset();
}

DateTime SystemClock::localNow() const {
    const std::int64_t ms = unixMillis();
    const std::time_t secs = static_cast<std::time_t>(ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000));
    followMachineZone();
    std::tm tm{};
    localtime_r(&secs, &tm);
    return DateTime::fromFields(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                                tm.tm_sec);
}

}  // namespace tavrin
