#pragma once
// Moments the measurement scripts time: printed on standard error when TAVRIN_TRACE (or the older
// TAVRIN_TRACE_FIRST_FRAME) is set, as "tavrin: <moment> after N ms (at M ms since the epoch)".
#include <cstdint>

namespace tavrin {

bool traceEnabled();
// Prints the moment with the time since the process started and the wall-clock time `unixMillis`.
void traceMoment(const char* moment, std::int64_t unixMillis);

}  // namespace tavrin
