#pragma once
// The application's shared state, owned by one object that windows and routines receive by reference.
#include <utility>

#include "alarms/AlarmState.h"
#include "platform/Paths.h"
#include "reminders/ReminderTable.h"
#include "settings/Settings.h"
#include "settings/Store.h"
#include "timezones/ClockService.h"
#include "timezones/ZoneState.h"

namespace tavrin {

struct AppState {
    AppState(Store& s, ClockService& c, Paths p) : store(s), clock(c), paths(std::move(p)) {}

    Store& store;
    ClockService& clock;
    Paths paths;

    Settings settings;
    ZoneState zones;
    ReminderTable reminders;
    AlarmState alarms;
};

}  // namespace tavrin
