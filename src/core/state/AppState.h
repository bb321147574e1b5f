#pragma once
// The application's shared state, owned by one object that windows and routines receive by reference.
#include <utility>

#include "core/alarms/AlarmState.h"
#include "core/reminders/ReminderTable.h"
#include "core/settings/Settings.h"
#include "core/state/Asker.h"
#include "core/state/Paths.h"
#include "core/state/Shell.h"
#include "core/store/Store.h"
#include "core/timezones/ClockService.h"
#include "core/timezones/ZoneState.h"

namespace tavrin {

struct AppState {
    AppState(Store& s, ClockService& c, Shell& sh, Asker& a, Paths p)
        : store(s), clock(c), shell(sh), asker(a), paths(std::move(p)) {}

    Store& store;
    ClockService& clock;
    Shell& shell;
    Asker& asker;
    Paths paths;

    Settings settings;
    ZoneState zones;
    ReminderTable reminders;
    AlarmState alarms;
};

}  // namespace tavrin
