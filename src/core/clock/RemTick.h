#pragma once
// One tick of the tray clock: the clock's texts, the reminder check, a change of the machine's zone,
// then the warning and the alarm. The clock ticks just after each minute turns (each second while
// its time shows seconds) and at once on news of a clock change; every step here compares whole
// minutes and catches up on minutes that no tick saw, so nothing needs a tick inside a minute.
#include <functional>
#include <string>

#include "core/alarms/AlarmFiring.h"
#include "core/base/Result.h"
#include "core/state/AppState.h"

namespace tavrin {

struct RemTickHooks {
    // Hands the tray clock its time text ("TimeFormat") and date text ("DateFormat").
    std::function<void(const std::string& timeText, const std::string& dateText)> showTexts;
    // The reminder due check.
    std::function<void()> checkReminders;
    // The machine zone's "StandardName" as the machine-value reader returns it (with its trailing
    // blank). A failure to read it is never taken for a change of zone.
    std::function<Result<std::string>()> readStandardName;
    // Refills LocalBias from the machine's zone after a change.
    std::function<void()> refillLocalBias;
};

// The hooks as the running program wires them: the machine zone's name from the store's system
// value, LocalBias from the tz database. The clock window supplies the texts' receiver and the due
// check.
RemTickHooks standardRemTickHooks(AppState& app,
                                  std::function<void(const std::string&, const std::string&)> showTexts,
                                  std::function<void()> checkReminders);

// A zone's time at a UTC instant as the warning and the alarm follow it: the zone's rules.
AlarmFiring::ZoneClock zoneClockOf(const AppState& app);

class RemTick {
  public:
    RemTick(AppState& app, AlarmFiring& firing, RemTickHooks hooks);

    // No step throws; each reports its own trouble (the reminder check through its hook). The result
    // is the failure to read the machine's zone name, after which the tick went on unchanged.
    Result<> tick();

  private:
    void refreshTexts();
    void followZoneUpdates();
    Result<> noticeZoneChange();

    AppState& app_;
    AlarmFiring& firing_;
    RemTickHooks hooks_;
};

}  // namespace tavrin
