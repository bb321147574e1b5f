#pragma once
// Which texts make a clock wake each second: only those that show seconds. Everything else the tick
// does (the texts of a minute, the reminder check, the alarm and the warning) compares whole minutes.
#include <string_view>

#include "core/clock/NextTick.h"
#include "core/settings/Settings.h"

namespace tavrin {

// Whether text written with `pattern` can change within a minute: it holds a seconds field ("s" or
// "ss", in any case) outside quoted and escaped text.
bool patternShowsSeconds(std::string_view pattern);

// The tray clock's pace: each second when "TimeFormat" shows seconds. The date line is written from
// the day alone, so seconds in "DateFormat" always read 00 and never need a tick.
TickPace clockTickPace(const Settings& settings);

}  // namespace tavrin
