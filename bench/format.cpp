// The formatter runs for every world-time line, every reminder of the due check and the clock's own
// texts on each tick; reading date text runs for every stored reminder date compared.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "core/timezones/FormatPattern.h"

namespace {

using tavrin::DateTime;

void BM_Format(benchmark::State& state, const char* pattern) {
    DateTime t = DateTime::fromFields(2005, 3, 7, 21, 5, 0);
    for (auto _ : state) {
        std::string s = tavrin::formatPattern(t, pattern);
        benchmark::DoNotOptimize(s);
        t = t.addSeconds(61);
    }
}
BENCHMARK_CAPTURE(BM_Format, WorldTimeLine, "mm/dd/yy h:mm am/pm");
BENCHMARK_CAPTURE(BM_Format, ShortTime, "HH:MM");

void BM_ReadDate(benchmark::State& state, const char* text) {
    for (auto _ : state) {
        auto v = tavrin::readDateText(text, "mm/dd/yy");
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK_CAPTURE(BM_ReadDate, Numeric, "03/07/05");
BENCHMARK_CAPTURE(BM_ReadDate, Calendar, "12 March 2005");

// The due check's date comparison: a stored date read back and formatted again.
void BM_ReformatStoredDate(benchmark::State& state) {
    for (auto _ : state) {
        std::string s = tavrin::formatPattern(std::string_view("03/07/05"), "mm/dd/yy", "mm/dd/yy");
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_ReformatStoredDate);

}  // namespace
