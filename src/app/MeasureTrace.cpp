#include "app/MeasureTrace.h"

#include <time.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/base/AtomicFile.h"

namespace tavrin {
namespace {

// Milliseconds since this process started, from the kernel's record of its start (10 ms steps).
Result<long long> millisSinceProcessStart() {
    const Result<std::string> read = AtomicFile::read("/proc/self/stat");
    if (!read) return read.why();
    const std::string& stat = *read;
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos || close + 2 > stat.size())
        return Failure{"/proc/self/stat does not hold the process's start"};
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    unsigned long long startTicks = 0;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
        if (i == 22) startTicks = std::strtoull(field.c_str(), nullptr, 10);
    }
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double started = static_cast<double>(startTicks) / static_cast<double>(sysconf(_SC_CLK_TCK));
    const double elapsed = static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9 - started;
    return std::llround(elapsed * 1000);
}

}  // namespace

bool traceEnabled() {
    return std::getenv("TAVRIN_TRACE") != nullptr || std::getenv("TAVRIN_TRACE_FIRST_FRAME") != nullptr;
}

void traceMoment(const char* moment, std::int64_t unixMillis) {
    if (!traceEnabled()) return;
    const Result<long long> since = millisSinceProcessStart();
    if (since)
        std::fprintf(stderr, "tavrin: %s after %lld ms (at %lld ms since the epoch)\n", moment, *since,
                     static_cast<long long>(unixMillis));
    else
        std::fprintf(stderr, "tavrin: %s (at %lld ms since the epoch; %s)\n", moment,
                     static_cast<long long>(unixMillis), since.message().c_str());
    std::fflush(stderr);
}

}  // namespace tavrin
