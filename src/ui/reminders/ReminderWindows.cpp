#include "ui/reminders/ReminderWindows.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <utility>

#include "core/utilities/DialogCentring.h"
#include "ui/reminders/frmAddRem.h"
#include "ui/reminders/frmCal.h"
#include "ui/reminders/frmDayRem.h"
#include "ui/reminders/frmRem.h"

namespace tavrin {

namespace {

void centreOnScreen(QWidget& window) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const DialogPlace place =
        centredOn(area.left(), area.top(), area.width(), area.height(), window.width(), window.height());
    window.move(place.left, place.top);
}

void bringUp(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
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
    if (!calendar_) {
        calendar_ = new frmCal(*this, imagesDir_);
        centreOnScreen(*calendar_);
    }
    bringUp(*calendar_);
    return calendar_;
}

frmRem* ReminderWindows::showManager() {
    if (!manager_) {
        manager_ = new frmRem(*this);
        centreOnScreen(*manager_);
    }
    bringUp(*manager_);
    return manager_;
}

frmAddRem* ReminderWindows::editorWindow() {
    if (!editor_) {
        editor_ = new frmAddRem(*this);
        centreOnScreen(*editor_);
    }
    return editor_;
}

frmAddRem* ReminderWindows::openNewReminder(const std::string& date) {
    const bool fresh = !editor_;
    frmAddRem* editor = editorWindow();
    // An open editor for a new reminder keeps what was typed; one open for an edit starts afresh,
    // so that its OK cannot replace the reminder being edited.
    if (!fresh && editor->editing()) editor->loadNew();
    if (!date.empty()) editor->Text1()->setText(QString::fromStdString(date));
    editor->MyOhMy(false);
    return editor;
}

frmAddRem* ReminderWindows::openEditReminder(int slot) {
    frmAddRem* editor = editorWindow();
    editor->MyOhMy(true);
    editor->loadReminder(slot);
    return editor;
}

frmDayRem* ReminderWindows::openDayList(const std::string& dateText) {
    auto* list = new frmDayRem(app_.reminders, app_.settings, DayListRequest{std::nullopt, dateText});
    centreOnScreen(*list);
    bringUp(*list);
    return list;
}

void ReminderWindows::remindersChanged() {
    if (manager_) manager_->gogetem(false);
    if (calendar_) calendar_->addReminders();
}

}  // namespace tavrin
