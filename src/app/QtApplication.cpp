#include "app/QtApplication.h"

#include <QApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

#include "app/AppCalendars.h"
#include "app/MeasureTrace.h"
#include "app/TracedSoundPlayer.h"
#include "app/modStart.h"
#include "core/alarms/AlarmFiring.h"
#include "core/base/AtomicFile.h"
#include "core/base/Text.h"
#include "core/clock/RemTick.h"
#include "core/reminders/DueCheck.h"
#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderUpdate.h"
#include "core/settings/ColourScheme.h"
#include "core/timezones/LocaleNames.h"
#include "core/timezones/ZoneCatalogue.h"
#include "core/timezones/ZoneTime.h"
#include "keyring/KeyringVault.h"
#include "platform/ApplicationDirectory.h"
#include "platform/FileStore.h"
#include "platform/SystemKeys.h"
#include "platform/TimerFdClockWatch.h"
#include "platform/X11Desktop.h"
#include "ui/alarms/QtAlarmNotifier.h"
#include "ui/alarms/QtSoundPlayer.h"
#include "ui/alarms/frmAlarm.h"
#include "ui/clock/frmClock.h"
#include "ui/clock/frmFClock.h"
#include "ui/clock/frmMenu.h"
#include "ui/reminders/QtReminderAnnouncer.h"
#include "ui/reminders/ReminderWindows.h"
#include "ui/reminders/frmCal.h"
#include "ui/settings/frmInitSetup.h"
#include "ui/settings/frmPrefs.h"
#include "ui/utilities/QtColour.h"
#include "ui/utilities/RepeatedFailureLog.h"
#include "ui/utilities/WindowPlacement.h"
#include "ui/utilities/frmAbout.h"
#include "ui/utilities/frmStopWatch.h"

namespace tavrin {
namespace {

// Where the shipped pictures are. Without it they are looked for in the current folder, and the log
// says why.
std::string pictureFolder() {
    const Result<std::string> folder = applicationDirectory();
    if (!folder) qWarning("tavrin: %s", folder.message().c_str());
    return folder.valueOr({});
}

// A message that does not hold up the clock's ticks while it is open.
void showNotice(QMessageBox::Icon icon, const std::string& text) {
    auto* box = new QMessageBox(icon, QStringLiteral("Tavrin Error Message"), QString::fromStdString(text),
                                QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

}  // namespace

QtApplication::QtApplication() {
    const Paths paths = Paths::fromEnvironment();
    auto zoneCache = std::make_shared<ZoneCache>();
    store_ = makeLinuxStore(paths, {SystemKeys::forMachine(paths.zoneinfoDir),
                                    makeZoneCatalogue(paths.zoneinfoDir, systemClock_, zoneCache)});
    app_ = std::make_unique<AppState>(*store_, systemClock_, shell_, asker_, paths);
    app_->zones.zoneCache = zoneCache;
    app_->settings.calendarNames = calendarNamesFromEnvironment();
}

QtApplication::~QtApplication() {
    // The dialog holds the sound player, which goes with this object.
    delete alarm_.data();
}

bool QtApplication::start() {
    return startProgram(*app_, StartHooks{buttonFaceColourText,
                                          [this] { showFirstRun(); },
                                          [this] { showClock(); },
                                          {},
                                          [this] { upgradeReminderFile(); }}) !=
           StartOutcome::SettingsUnreadable;
}

void QtApplication::startClock() {
    tavrin::startClock(*app_, StartHooks{buttonFaceColourText,
                                         [this] { showFirstRun(); },
                                         [this] { showClock(); },
                                         {},
                                         [this] { upgradeReminderFile(); }});
}

void QtApplication::showFirstRun() {
    // The setup dialog deletes itself when it closes; "Finish!" leads into the clock.
    auto* setup = new frmInitSetup(*app_, dialogs_, [this] { startClock(); });
    setup_ = setup;
    setup->show();
}

void QtApplication::showClock() {
    AppState& app = *app_;
    fillLocalBias(app.zones, app.paths.zoneinfoDir, app.clock, *app.zones.zoneCache);

    const Result loaded = loadReminders(app.reminders, app.paths.reminderFile());
    if (!loaded.message().empty())
        showNotice(loaded.ok() ? QMessageBox::Information : QMessageBox::Warning, loaded.message());

    // The window composes its first frame and starts its timer as it is made, so everything its
    // ticks use is in place before it.
    sound_ = std::make_unique<TracedSoundPlayer>(app.clock);
    const std::string appDir = pictureFolder();
    // Without either the clock still runs: it looks at the desktop and the wall clock on its ticks.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (Result desktop = X11Desktop::open())
            desktop_ = std::move(*desktop);
        else
            qWarning("tavrin: %s", desktop.message().c_str());
    }
    if (Result wallClock = TimerFdClockWatch::open())
        wallClock_ = std::move(*wallClock);
    else
        qWarning("tavrin: %s", wallClock.message().c_str());
    clock_ = std::make_unique<frmClock>(app, appDir, desktop_.get(), wallClock_.get());
    frmClock* window = clock_.get();
    auto clockRect = [window] { return ClockPlace{window->placedRect(), window->availableRect()}; };
    const QString icon = QString::fromStdString(appDir + "/Images/icon/tavrin_48.png");
    auto* desktop = new DesktopNotifications(QFileInfo::exists(icon) ? icon : QStringLiteral("tavrin"), this);
    alarmNotifier_ = std::make_unique<QtAlarmNotifier>(clockRect, app.settings, desktop);
    announcer_ = std::make_unique<QtReminderAnnouncer>(app, clockRect, desktop);
    firing_ =
        std::make_unique<AlarmFiring>(app.alarms, *sound_, *alarmNotifier_, app.clock, zoneClockOf(app));
    alarmNotifier_->setSnoozeHook(
        [this](AlarmKind kind) { firing_->snooze(kind, app_->settings.SnoozeMinutes); });
    dueCheck_ = std::make_unique<DueCheck>(app.reminders, app.settings, app.clock, *announcer_,
                                           app.paths.reminderFile());
    remTick_ = std::make_unique<RemTick>(
        app, *firing_,
        standardRemTickHooks(
            app, [window](const std::string& t, const std::string& d) { window->setTexts(t, d); },
            [this] {
                const DueCheckResult result = dueCheck_->checkReminders();
                // Logged, not shown: it would come back every minute until the file can be read.
                if (!result.reread) qWarning("tavrin: %s", result.reread.message().c_str());
                // A failure, or where a file holding more than the table could was kept aside first.
                if (result.save && !result.save->message().empty())
                    showNotice(result.save->ok() ? QMessageBox::Information : QMessageBox::Warning,
                               result.save->message());
                // Recurring reminders moved on: an open manager or calendar shows them where they are now.
                if (result.moved > 0 && reminderWindows_) reminderWindows_->remindersChanged();
            }));
    window->setClockTick([this, zoneFailures = RepeatedFailureLog()]() mutable {
        // The tick goes on with the zone it has.
        zoneFailures.note(remTick_->tick());
        tellStoreNotices();
        // The tick follows the wall clock, so it notices a date that moved while the machine slept.
        if (frmCal* calendar = reminderWindows_ ? reminderWindows_->calendar() : nullptr)
            calendar->checkToday();
        if (calendars_) calendars_->tick();
    });
    // The floating clock ticks by a plain timer, each minute when it shows no seconds.
    connect(window, &frmClock::wallClockChanged, this, [this] {
        if (floatingClock_) floatingClock_->tick();
    });
    connect(window, &frmClock::firstFramePainted, this,
            [this] { traceMoment("first frame", app_->clock.unixMillis()); });
    connect(window, &frmClock::raisedAbovePanel, this, [this](qint64 millisSinceNews) {
        const std::string moment =
            "raised above a panel " + std::to_string(millisSinceNews) + " ms after the news";
        traceMoment(moment.c_str(), app_->clock.unixMillis());
    });
    if (!window->schemeHasImages() && schemeOfColour(app.settings.ColScheme) != PictureScheme::None)
        std::fprintf(stderr,
                     "tavrin: the colour scheme's pictures are missing from %s/Images; the clock shows "
                     "the plain colour\n",
                     appDir.c_str());
    reminderWindows_ = std::make_unique<ReminderWindows>(app, appDir + "/Images");
    watchReminderFile();
    // The calendars' cached events show as soon as the clock has drawn itself (or a second later,
    // where it is not drawn); their fetches run in the background.
    calendars_ = std::make_unique<AppCalendars>(app, std::make_unique<KeyringVault>(), clockRect);
    auto startCalendars = [this, window] { calendars_->start(*reminderWindows_, *window); };
    connect(window, &frmClock::firstFramePainted, this, startCalendars, Qt::SingleShotConnection);
    QTimer::singleShot(1000, this, startCalendars);
    announcer_->setManagerHook([this] { reminderWindows_->showManager(); });
    window->setMenuHook([this] { openMenu(); });
    window->show();
}

void QtApplication::watchReminderFile() {
    // Another program (a hand edit, tavrinctl, the clock of another session) may change the file
    // while the clock runs: its folder is watched, since a save replaces the file by a rename.
    const std::string path = app_->paths.reminderFile();
    const std::string folder = folderOf(AtomicFile::followLinks(path));
    if (const Result made = AtomicFile::makeFolders(folder); !made)
        qWarning("tavrin: %s", made.message().c_str());  // the watch below then finds nothing to watch
    reminderWatch_ = std::make_unique<QFileSystemWatcher>();
    reminderWatch_->addPath(QString::fromStdString(folder));
    connect(reminderWatch_.get(), &QFileSystemWatcher::directoryChanged, this, [this, path] {
        // A file that cannot be read now leaves the reminders as they were; the next save says why.
        const Result reloaded = reloadRemindersIfChanged(app_->reminders, path);
        if (!reloaded) qWarning("tavrin: %s", reloaded.message().c_str());
        if (reloaded.valueOr(false) && reminderWindows_) reminderWindows_->remindersChanged();
    });
}

void QtApplication::tellStoreNotices() {
    for (const std::string& notice : app_->store.takeNotices()) {
        // Told after the tick: a message box must not hold up the tick that found it.
        QTimer::singleShot(0, this, [this, notice] {
            app_->asker.tell("Tavrin System Message", notice, MessageIcon::Information);
        });
    }
}

void QtApplication::showYourself() {
    traceMoment("asked to show itself", app_->clock.unixMillis());
    QWidget* front = setup_ ? static_cast<QWidget*>(setup_.data()) : clock_.get();
    if (!front) return;
    front->show();
    front->raise();
    front->activateWindow();
}

void QtApplication::openMenu() {
    traceMoment("menu press", app_->clock.unixMillis());
    auto* menu = new frmMenu(*app_, *clock_, menuActions(), pictureFolder());
    connect(menu, &frmMenu::painted, this, [this] { traceMoment("menu painted", app_->clock.unixMillis()); });
    menu->popUp();
}

MenuActions QtApplication::menuActions() {
    MenuActions actions;
    actions.openCalendar = [this] {
        if (reminderWindows_) reminderWindows_->showCalendar();
    };
    actions.openAlarm = [this] { showAlarm(); };
    actions.openStopwatch = [this] { showStopwatch(); };
    actions.openFloatingClock = [this] { showFloatingClock(); };
    actions.openPreferences = [this] { showPreferences(); };
    actions.endProgram = [this] {
        // Closing the clock ends the program.
        if (clock_) clock_->close();
    };
    return actions;
}

frmAlarm* QtApplication::showAlarm() {
    if (!sound_) return nullptr;
    if (!alarm_) {
        alarm_ = new frmAlarm(*app_, *sound_, dialogs_);
        alarm_->resize(alarm_->sizeHint());
        centreOnScreen(*alarm_);
    }
    bringUp(*alarm_);
    return alarm_;
}

frmPrefs* QtApplication::showPreferences() {
    if (prefs_) {
        prefs_->raise();
        prefs_->activateWindow();
        return prefs_;
    }
    PrefsHooks hooks;
    // The clocks show new formats, fonts and colours at once rather than at their next tick, which
    // may be a minute away.
    hooks.applied = [this] {
        if (reminderWindows_ && reminderWindows_->calendar()) reminderWindows_->calendar()->applySettings();
        if (floatingClock_) floatingClock_->tick();
        if (clock_) clock_->applySettings();
    };
    hooks.saved = [this] {
        // What the store set aside while saving is told now, not at the next tick.
        tellStoreNotices();
        if (!clock_) return;
        clock_->loadSchemeImages();
        clock_->mainLoopStep();
    };
    hooks.showAbout = [this] { showAbout(); };
    hooks.showCalendars = [this] {
        if (calendars_) calendars_->showCalendars(dialogs_);
    };
    prefs_ = new frmPrefs(*app_, dialogs_, pictureFolder(),
                          QCoreApplication::applicationFilePath().toStdString(), std::move(hooks));
    connect(prefs_, &frmPrefs::firstPaint, this,
            [this] { traceMoment("preferences painted", app_->clock.unixMillis()); });
    prefs_->show();
    return prefs_;
}

frmAbout* QtApplication::showAbout() {
    if (!about_) {
        // A window of its own: the preferences stay usable while it is open, and it stays when they
        // close.
        about_ = new frmAbout(*app_);
        about_->setAttribute(Qt::WA_DeleteOnClose);
    }
    bringUp(*about_);
    return about_;
}

void QtApplication::upgradeReminderFile() {
    const Result upgraded = tavrin::upgradeReminderFile(app_->reminders, app_->paths.reminderFile());
    if (!upgraded.message().empty())
        showNotice(upgraded.ok() ? QMessageBox::Information : QMessageBox::Warning, upgraded.message());
}

frmStopWatch* QtApplication::showStopwatch() {
    if (!stopwatch_) stopwatch_ = new frmStopWatch(steadyClock_);
    bringUp(*stopwatch_);
    return stopwatch_;
}

frmFClock* QtApplication::showFloatingClock() {
    if (!floatingClock_) floatingClock_ = new frmFClock(*app_, pictureFolder());
    bringUp(*floatingClock_);
    return floatingClock_;
}

}  // namespace tavrin
