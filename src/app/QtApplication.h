#pragma once
// The application object: owns the services, the shared state and the windows, and runs start-up.
#include <QFileSystemWatcher>
#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

#include "app/QtShell.h"
#include "core/state/AppState.h"
#include "core/timezones/ClockService.h"
#include "core/utilities/MonotonicClock.h"
#include "ui/clock/MenuActions.h"
#include "ui/utilities/QtAsker.h"
#include "ui/utilities/QtCommonDialogs.h"

namespace tavrin {

class frmClock;
class frmFClock;
class frmInitSetup;
class frmStopWatch;
class TracedSoundPlayer;
class QtAlarmNotifier;
class QtReminderAnnouncer;
class AlarmFiring;
class RemTick;
class DueCheck;
class ReminderWindows;
class frmAbout;
class frmAlarm;
class frmPrefs;
class DesktopWatch;
class AppCalendars;
class WallClockWatch;

class QtApplication : public QObject {
    Q_OBJECT
  public:
    QtApplication();
    ~QtApplication() override;

    // Sub Main: the clock, or the first-run setup when no settings exist yet. False when the program
    // cannot go on (the user's settings file cannot be read; the user was told why).
    bool start();

    AppState& state() { return *app_; }
    frmClock* clockWindow() const { return clock_.get(); }
    // What the menu's buttons open.
    MenuActions menuActions();
    // The reminder windows and the announcer, once the clock runs.
    ReminderWindows* reminderWindows() const { return reminderWindows_.get(); }
    QtReminderAnnouncer* announcer() const { return announcer_.get(); }
    // The subscribed calendars, once the clock runs.
    AppCalendars* calendars() const { return calendars_.get(); }
    // The alarm dialog, shown and brought to the front.
    frmAlarm* showAlarm();
    // The one preferences dialog, made when it is asked for (it goes when it closes), shown and
    // brought to the front.
    frmPrefs* showPreferences();
    // The one about box, made when it is asked for (it goes when it closes), shown and brought to
    // the front. It holds up no other window.
    frmAbout* showAbout();
    // The single stopwatch and floating clock, made on first use (and again after they were closed),
    // shown and brought to the front.
    frmStopWatch* showStopwatch();
    frmFClock* showFloatingClock();
    // Another start in this session asked the clock (or the first-run setup) to come to the front.
    void showYourself();

  private:
    void startClock();
    void showClock();
    void showFirstRun();
    void upgradeReminderFile();
    // Reloads the reminders when another program changes their file.
    void watchReminderFile();
    // Tells the user, once each, what the settings store set aside (a damaged file kept as a copy).
    void tellStoreNotices();
    // A press on the clock: a new pop-up menu above it.
    void openMenu();

    SystemClock systemClock_;
    SteadyClock steadyClock_;
    QtShell shell_;
    QtAsker asker_;
    QtCommonDialogs dialogs_;
    std::unique_ptr<Store> store_;
    std::unique_ptr<AppState> app_;

    // The X server's monitors, panels and stacking, watched for the clock; none on other displays.
    std::unique_ptr<DesktopWatch> desktop_;
    // The wall clock's timer for the clock's ticks, with news of the clock set, a resume and a new
    // machine zone.
    std::unique_ptr<WallClockWatch> wallClock_;
    std::unique_ptr<frmClock> clock_;
    QPointer<frmInitSetup> setup_;
    QPointer<frmStopWatch> stopwatch_;
    QPointer<frmFClock> floatingClock_;
    std::unique_ptr<TracedSoundPlayer> sound_;
    std::unique_ptr<QtAlarmNotifier> alarmNotifier_;
    std::unique_ptr<QtReminderAnnouncer> announcer_;
    std::unique_ptr<AlarmFiring> firing_;
    std::unique_ptr<DueCheck> dueCheck_;
    std::unique_ptr<RemTick> remTick_;
    std::unique_ptr<ReminderWindows> reminderWindows_;
    std::unique_ptr<QFileSystemWatcher> reminderWatch_;
    std::unique_ptr<AppCalendars> calendars_;
    QPointer<frmAlarm> alarm_;
    QPointer<frmPrefs> prefs_;
    QPointer<frmAbout> about_;
};

}  // namespace tavrin
