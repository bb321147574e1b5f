#pragma once
// The subscribed calendars in the running clock: the refresher that loads and fetches them, the
// calendars' window, the next event in the clock's tool tip, a balloon for a calendar that cannot be
// fetched and for each event due to be announced, and a fetch after the machine woke from sleep. The
// calendar that holds the reminders is synced with the reminder file in place of its fetch.
#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "core/calendars/EventNotices.h"
#include "core/calendars/PasswordVault.h"
#include "core/state/AppState.h"
#include "ui/notify/QtBalloonPlacement.h"
#include "ui/utilities/RepeatedFailureLog.h"

class QWidget;

namespace tavrin {

class AppReminderSync;
class CalendarRefresher;
class CommonDialogs;
class ReminderWindows;
class frmCalendars;

class AppCalendars : public QObject {
    Q_OBJECT
  public:
    // `vault` keeps the calendars' passwords (the desktop's keyring where one answers).
    AppCalendars(AppState& app, std::unique_ptr<PasswordVault> vault, std::function<ClockPlace()> clockRect);
    ~AppCalendars() override;

    // Reads the list and shows what is cached at once, then fetches every calendar in the
    // background. The reminder windows mark and list the events; `clock` shows the next one in its
    // tool tip. Only the first call counts.
    void start(ReminderWindows& windows, QWidget& clock);
    // On the clock's tick: events due are announced, the tool tip follows the time, and a machine
    // that slept since the last tick has its calendars fetched again. Once a minute, a reminder file
    // changed since the last sync is synced again.
    void tick();
    // The calendars' window, shown and brought to the front.
    frmCalendars* showCalendars(CommonDialogs& dialogs);

    CalendarRefresher* refresher() const { return refresher_.get(); }

  private:
    void showNotice(const std::string& title, const std::vector<std::string>& lines);
    void updateToolTip();
    // Follows the "SyncCalendar" setting; once a minute, syncs a reminder file that changed.
    void followSync();
    // A sync run ended: the reminders as the file holds them now, and what the user should read.
    void syncEnded();
    std::string passwordOf(const std::string& id);

    AppState& app_;
    std::unique_ptr<PasswordVault> vault_;
    std::function<ClockPlace()> clockRect_;
    std::shared_ptr<AppReminderSync> sync_;
    std::unique_ptr<CalendarRefresher> refresher_;
    EventNotices notices_;
    RepeatedFailureLog noticeFailures_;
    std::map<std::string, std::string> passwords_;
    QPointer<QWidget> clock_;
    ReminderWindows* windows_ = nullptr;
    QPointer<frmCalendars> window_;
    std::int64_t sleptSeconds_ = -1;
    bool vaultNoteTold_ = false;
    std::int64_t syncCheckedMinute_ = -1;
    std::set<std::string> syncNoticesShown_;
};

}  // namespace tavrin
