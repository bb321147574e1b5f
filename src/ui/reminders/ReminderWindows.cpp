#include "ui/reminders/ReminderWindows.h"

#include <QLineEdit>
#include <utility>

#include "ui/reminders/CalendarEventSource.h"
#include "ui/reminders/frmAddRem.h"
#include "ui/reminders/frmCal.h"
#include "ui/reminders/frmDayRem.h"
#include "ui/reminders/frmRem.h"
#include "ui/utilities/QtCommonDialogs.h"
#include "ui/utilities/WindowPlacement.h"

namespace tavrin {

namespace {

// The window kept in `window`, made and centred on the screen the first time it is asked for.
template <class Window, class... Args>
Window* madeOnce(QPointer<Window>& window, Args&&... args) {
    if (!window) {
        window = new Window(std::forward<Args>(args)...);
        centreOnScreen(*window);
    }
    return window;
}

}  // namespace

ReminderWindows::ReminderWindows(AppState& app, std::string imagesDir)
    : app_(app), imagesDir_(std::move(imagesDir)) {}

// The windows are closed with the program; each deletes itself.
ReminderWindows::~ReminderWindows() {
    for (QWidget* w : {static_cast<QWidget*>(editor_.data()), static_cast<QWidget*>(manager_.data()),
                       static_cast<QWidget*>(calendar_.data())}) {
        delete w;
    }
}

CommonDialogs& ReminderWindows::dialogs() {
    static QtCommonDialogs toolkits;
    return dialogs_ ? *dialogs_ : toolkits;
}

frmCal* ReminderWindows::calendar() const {
    return calendar_.data();
}
frmRem* ReminderWindows::manager() const {
    return manager_.data();
}
frmAddRem* ReminderWindows::editor() const {
    return editor_.data();
}

frmCal* ReminderWindows::showCalendar() {
    frmCal* calendar = madeOnce(calendar_, *this, imagesDir_);
    bringUp(*calendar);
    return calendar;
}

frmRem* ReminderWindows::showManager() {
    frmRem* manager = madeOnce(manager_, *this);
    bringUp(*manager);
    return manager;
}

frmAddRem* ReminderWindows::editorWindow() {
    return madeOnce(editor_, *this);
}

frmAddRem* ReminderWindows::openNewReminder(const std::string& date) {
    const bool fresh = !editor_;
    frmAddRem* editor = editorWindow();
    // An open editor for a new reminder keeps what was typed; one open for an edit starts afresh,
    // so that its OK cannot replace the reminder being edited.
    if (!fresh && editor->editing()) editor->loadNew();
    if (!date.empty()) editor->dateEdit()->setText(QString::fromStdString(date));
    editor->openEditor(false);
    return editor;
}

frmAddRem* ReminderWindows::openEditReminder(int slot) {
    frmAddRem* editor = editorWindow();
    editor->openEditor(true);
    editor->loadReminder(slot);
    return editor;
}

frmDayRem* ReminderWindows::openDayList(const std::string& dateText, std::optional<DateTime> day) {
    auto* list = new frmDayRem(app_.reminders, app_.settings, DayListRequest{std::nullopt, dateText});
    if (day && calendarEvents_) {
        std::vector<EventRow> rows;
        for (const CalendarEvent& event :
             calendarEvents_->eventsOnDay(day->year(), day->month(), day->day())) {
            const auto calendar = calendarEvents_->calendarOf(event.calendarId);
            rows.push_back({calendarEvents_->timeTextOf(event), event.title, event.location,
                            calendar ? calendar->name : std::string(),
                            calendar ? calendar->colour : CalendarSubscription{}.colour});
        }
        list->setEvents(std::move(rows));
    }
    centreOnScreen(*list);
    bringUp(*list);
    return list;
}

bool ReminderWindows::tellChange(const ReminderChange& change) {
    if (!change.ok()) {
        app_.asker.tell("Tavrin Error Message", change.message(), MessageIcon::None);
        return false;
    }
    if (!change.message().empty())
        app_.asker.tell("Tavrin System Message", change.message(), MessageIcon::Information);
    return true;
}

void ReminderWindows::calendarEventsChanged() {
    if (calendar_) calendar_->addReminders();
}

void ReminderWindows::remindersChanged() {
    if (manager_) manager_->fillList();
    if (calendar_) calendar_->addReminders();
}

}  // namespace tavrin
