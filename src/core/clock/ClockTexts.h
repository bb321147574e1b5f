#pragma once
// The tray clock's two texts at a moment: the time in "TimeFormat" and today in "DateFormat".
#include <string>

#include "core/settings/Settings.h"
#include "core/timezones/DateTime.h"

namespace tavrin {

struct ClockTexts {
    std::string timeText;
    std::string dateText;
};

ClockTexts clockTextsAt(const DateTime& now, const Settings& settings);

}  // namespace tavrin
