#include "platform/TimerFdClockWatch.h"

#include <sys/epoll.h>
#include <sys/inotify.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

namespace tavrin {

namespace {

void closeIfOpen(int fd) {
    if (fd >= 0) ::close(fd);
}

bool addToEvents(int events, int fd) {
    epoll_event e{};
    e.events = EPOLLIN;
    e.data.fd = fd;
    return ::epoll_ctl(events, EPOLL_CTL_ADD, fd, &e) == 0;
}

}  // namespace

Result<std::unique_ptr<TimerFdClockWatch>> TimerFdClockWatch::open(const std::string& zoneFolder) {
    const int timer = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (timer < 0)
        return Failure{std::string("cannot make a wall-clock timer: ") + std::strerror(errno), errno};
    const int events = ::epoll_create1(EPOLL_CLOEXEC);
    if (events < 0 || !addToEvents(events, timer)) {
        const int error = errno;
        closeIfOpen(events);
        ::close(timer);
        return Failure{std::string("cannot wait for the wall-clock timer: ") + std::strerror(error), error};
    }
    int zoneWatch = -1;
    if (!zoneFolder.empty()) {
        zoneWatch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        // Only changes of names, and files written whole: a zone tool writes a new link or file and
        // renames it into place, or writes the file in place. Reads and other folders stay silent.
        const std::uint32_t mask = IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_CLOSE_WRITE | IN_ONLYDIR;
        if (zoneWatch >= 0 && (::inotify_add_watch(zoneWatch, zoneFolder.c_str(), mask) < 0 ||
                               !addToEvents(events, zoneWatch))) {
            ::close(zoneWatch);
            zoneWatch = -1;
        }
    }
    return std::unique_ptr<TimerFdClockWatch>(new TimerFdClockWatch(events, timer, zoneWatch));
}

TimerFdClockWatch::TimerFdClockWatch(int events, int timer, int zoneWatch)
    : events_(events), timer_(timer), zoneWatch_(zoneWatch) {}

TimerFdClockWatch::~TimerFdClockWatch() {
    closeIfOpen(zoneWatch_);
    closeIfOpen(timer_);
    closeIfOpen(events_);
}

Result<> TimerFdClockWatch::armAt(std::int64_t unixMillis) {
    itimerspec when{};
    // A zero moment would disarm the timer; a moment already past fires at once.
    if (unixMillis <= 0) {
        when.it_value.tv_nsec = 1;
    } else {
        when.it_value.tv_sec = static_cast<time_t>(unixMillis / 1000);
        when.it_value.tv_nsec = static_cast<long>(unixMillis % 1000) * 1'000'000L;
    }
    if (::timerfd_settime(timer_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &when, nullptr) == 0)
        return {};
    return Failure{std::string("cannot arm the wall-clock timer: ") + std::strerror(errno), errno};
}

WallClockNews TimerFdClockWatch::takeNews() {
    WallClockNews news;
    std::uint64_t expirations = 0;
    const ssize_t n = ::read(timer_, &expirations, sizeof expirations);
    if (n == static_cast<ssize_t>(sizeof expirations)) {
        news.due = true;
    } else if (n < 0 && errno == ECANCELED) {
        news.clockSet = true;
    }
    news.zoneChanged = zoneFilesTouched();
    return news;
}

bool TimerFdClockWatch::zoneFilesTouched() {
    if (zoneWatch_ < 0) return false;
    bool touched = false;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(zoneWatch_, buffer, sizeof buffer);
        if (n <= 0) break;
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            if (event.len > 0) {
                const std::string_view name(buffer + at + sizeof event,
                                            ::strnlen(buffer + at + sizeof event, event.len));
                touched = touched || name == "localtime" || name == "timezone";
            }
            at += static_cast<ssize_t>(sizeof event + event.len);
        }
    }
    return touched;
}

}  // namespace tavrin
