// The formatter runs for every world-time line, every reminder of the due check and the clock's own
// texts on each tick; reading date text runs for every stored reminder date compared.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "timezones/FormatPattern.h"

namespace {

using tavrin::DateTime;

void BM_FormatWorldTimeLine(benchmark::State& state) {
    DateTime t = DateTime::fromFields(2005, 3, 7, 21, 5, 0);
    for (auto _ : state) {
        std::string s = tavrin::FormatPattern(t, "mm/dd/yy h:mm am/pm");
        benchmark::DoNotOptimize(s);
        t = t.addSeconds(61);
    }
}
BENCHMARK(BM_FormatWorldTimeLine);

void BM_FormatShortTime(benchmark::State& state) {
    DateTime t = DateTime::fromFields(2005, 3, 7, 21, 5, 0);
    for (auto _ : state) {
        std::string s = tavrin::FormatPattern(t, "HH:MM");
        benchmark::DoNotOptimize(s);
        t = t.addSeconds(61);
    }
}
BENCHMARK(BM_FormatShortTime);

void BM_ReadNumericDate(benchmark::State& state) {
    for (auto _ : state) {
        auto v = tavrin::ReadDateText("03/07/05", "mm/dd/yy");
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_ReadNumericDate);

void BM_ReadCalendarDate(benchmark::State& state) {
    for (auto _ : state) {
        auto v = tavrin::ReadDateText("12 March 2005", "mm/dd/yy");
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_ReadCalendarDate);

// The due check's date comparison: a stored date read back and formatted again.
void BM_ReformatStoredDate(benchmark::State& state) {
    for (auto _ : state) {
        std::string s = tavrin::FormatPattern(std::string_view("03/07/05"), "mm/dd/yy", "mm/dd/yy");
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_ReformatStoredDate);

}  // namespace
