#include "app/MeasureTrace.h"

#include <time.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace tavrin {
namespace {

// Milliseconds since this process started, from the kernel's record of its start (10 ms steps).
long long millisSinceProcessStart() {
    std::ifstream in("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return -1;
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
    std::fprintf(stderr, "tavrin: %s after %lld ms (at %lld ms since the epoch)\n", moment,
                 millisSinceProcessStart(), static_cast<long long>(unixMillis));
    std::fflush(stderr);
}

}  // namespace tavrin
