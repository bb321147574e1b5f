#pragma once
// The reminder windows that exist once each (the calendar, the manager and the editor), made on
// first use and made anew after they were closed, and the day lists, a new one per opening. The
// windows reach one another through this, and every change to the table refreshes whatever of them
// shows it.
#include <QPointer>
#include <optional>
#include <string>

#include "core/reminders/ReminderEditing.h"
#include "core/state/AppState.h"
#include "core/timezones/DateTime.h"

namespace tavrin {

class CalendarEventSource;
class CommonDialogs;
class frmAddRem;
class frmCal;
class frmDayRem;
class frmRem;

class ReminderWindows {
  public:
    // `imagesDir` holds the calendar's arrow and marker pictures.
    ReminderWindows(AppState& app, std::string imagesDir);
    ~ReminderWindows();
    ReminderWindows(const ReminderWindows&) = delete;
    ReminderWindows& operator=(const ReminderWindows&) = delete;

    AppState& app() { return app_; }

    // The calendar, shown and brought to the front (centred on the screen when it is made).
    frmCal* showCalendar();
    // The manager, shown and brought to the front.
    frmRem* showManager();
    // The editor for a new reminder, with `date` (in "DateFormat") in its date box when given.
    frmAddRem* openNewReminder(const std::string& date = {});
    // The editor for the reminder in `slot`.
    frmAddRem* openEditReminder(int slot);
    // A new day list of the reminders whose stored date is `dateText`, and of the subscribed
    // calendars' events on `day` when one is given.
    frmDayRem* openDayList(const std::string& dateText, std::optional<DateTime> day = std::nullopt);

    // Tells the user what a change to the reminders came to: why it was not made, or where the file
    // was kept aside on the way because it held more than the table could. Returns change.ok().
    bool tellChange(const ReminderChange& change);

    // After the table changed: the manager's list is filled again and the calendar's markers placed
    // again, where those windows are open.
    void remindersChanged();

    // The subscribed calendars' events, once they are loaded; null without.
    void setCalendarEvents(CalendarEventSource* events) { calendarEvents_ = events; }
    CalendarEventSource* calendarEvents() const { return calendarEvents_; }
    // The file dialogs the windows open: the program's, or a test's; the toolkit's until one is given.
    void setDialogs(CommonDialogs* dialogs) { dialogs_ = dialogs; }
    CommonDialogs& dialogs();
    // After the calendars' events changed: the calendar marks their days again.
    void calendarEventsChanged();

    // The single windows while they exist.
    frmCal* calendar() const;
    frmRem* manager() const;
    frmAddRem* editor() const;

  private:
    frmAddRem* editorWindow();

    AppState& app_;
    std::string imagesDir_;
    CalendarEventSource* calendarEvents_ = nullptr;
    CommonDialogs* dialogs_ = nullptr;
    QPointer<frmCal> calendar_;
    QPointer<frmRem> manager_;
    QPointer<frmAddRem> editor_;
};

}  // namespace tavrin
