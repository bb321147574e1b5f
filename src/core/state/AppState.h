#pragma once
// The application's shared state, owned by one object that windows and routines receive by reference.
#include <utility>

#include "core/alarms/AlarmState.h"
#include "core/state/Paths.h"
#include "core/state/Shell.h"
#include "core/reminders/ReminderTable.h"
#include "core/settings/Settings.h"
#include "core/store/Store.h"
#include "core/timezones/ClockService.h"
#include "core/timezones/ZoneState.h"

namespace tavrin {

struct AppState {
    AppState(Store& s, ClockService& c, Shell& sh, Paths p) : store(s), clock(c), shell(sh), paths(std::move(p)) {}

    Store& store;
    ClockService& clock;
    Shell& shell;
    Paths paths;

    Settings settings;
    ZoneState zones;
    ReminderTable reminders;
    AlarmState alarms;
};

}  // namespace tavrin
