#include "ui/reminders/frmAddRem.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/reminders/ReminderEditing.h"
#include "core/reminders/ReminderEditor.h"
#include "ui/reminders/ReminderWindows.h"

namespace tavrin {

namespace {

constexpr int kTitleLimit = 80;
constexpr int kMessageLimit = 300;
const char* const kDurations[] = {"Every Hour", "Every Day", "Every Week"};

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

frmAddRem::frmAddRem(ReminderWindows& windows, QWidget* parent)
    : QWidget(parent, Qt::Window), windows_(windows) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Add Reminder"));

    titleEdit_ = new QLineEdit(this);
    titleEdit_->setMaxLength(kTitleLimit);
    dateEdit_ = new QLineEdit(this);
    hourEdit_ = new QLineEdit(this);
    hourEdit_->setMaxLength(2);
    hourEdit_->setFixedWidth(34);
    minuteEdit_ = new QLineEdit(this);
    minuteEdit_->setMaxLength(2);
    minuteEdit_->setFixedWidth(34);
    amPmBox_ = new QComboBox(this);
    amPmBox_->setEditable(true);
    amPmBox_->setInsertPolicy(QComboBox::NoInsert);
    amPmBox_->addItems({QStringLiteral("AM"), QStringLiteral("PM")});
    amPmBox_->setFixedWidth(64);
    messageEdit_ = new QPlainTextEdit(this);
    messageEdit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    messageEdit_->setTabChangesFocus(true);
    connect(messageEdit_, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = messageEdit_->toPlainText();
        if (text.size() <= kMessageLimit) return;
        const QSignalBlocker quiet(messageEdit_);
        messageEdit_->setPlainText(text.left(kMessageLimit));
        messageEdit_->moveCursor(QTextCursor::End);
    });
    enabledBox_ = new QCheckBox(QStringLiteral("Enabled?"), this);
    recurringBox_ = new QCheckBox(QStringLiteral("Re-Occuring Reminder?"), this);
    durationBox_ = new QComboBox(this);
    durationBox_->setEditable(true);
    durationBox_->setInsertPolicy(QComboBox::NoInsert);
    for (const char* d : kDurations) durationBox_->addItem(QString::fromLatin1(d));
    durationBox_->lineEdit()->setPlaceholderText(QStringLiteral("Duration"));
    connect(recurringBox_, &QCheckBox::toggled, durationBox_, &QWidget::setEnabled);
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    connect(okButton_, &QPushButton::clicked, this, [this] { ok(); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { cancel(); });

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Reminder Title:"), this), 0, 0);
    grid->addWidget(titleEdit_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Date:"), this), 1, 0);
    grid->addWidget(dateEdit_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Time:"), this), 2, 0);
    auto* time = new QHBoxLayout;
    time->addWidget(hourEdit_);
    time->addWidget(new QLabel(QStringLiteral(":"), this));
    time->addWidget(minuteEdit_);
    time->addWidget(amPmBox_);
    time->addStretch();
    grid->addLayout(time, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Reminder Message:"), this), 3, 0, 1, 2);
    grid->addWidget(messageEdit_, 4, 0, 1, 2);
    grid->addWidget(enabledBox_, 5, 0, 1, 2);
    auto* recur = new QHBoxLayout;
    recur->addWidget(recurringBox_);
    recur->addWidget(durationBox_, 1);
    grid->addLayout(recur, 6, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    grid->addLayout(buttons, 7, 0, 1, 2);
    resize(340, 330);

    loadNew();
}

void frmAddRem::openEditor(bool editable) {
    editing_ = editable;
    if (!editable) {
        editSlot_ = -1;
        editTitle_.clear();
    }
    show();
    raise();
    activateWindow();
}

void frmAddRem::loadNew(const std::string& date) {
    AppState& app = windows_.app();
    ReminderForm f = newReminderForm(app.clock.localNow(), app.settings);
    if (!date.empty()) f.date = shownReminderDate(date, app.settings.DateFormat, app.settings.calendarNames);
    setForm(f);
}

void frmAddRem::loadReminder(int slot) {
    AppState& app = windows_.app();
    if (slot < 0 || slot >= kReminderSlots || app.reminders.titles[static_cast<std::size_t>(slot)].empty())
        return;
    setForm(editReminderForm(app.reminders, slot, app.settings));
    // The reminder is remembered by its slot and title, not by the manager's selection, so a
    // selection changed meanwhile cannot make OK replace another reminder.
    editSlot_ = slot;
    editTitle_ = app.reminders.titles[static_cast<std::size_t>(slot)];
}

ReminderForm frmAddRem::form() const {
    ReminderForm f;
    f.title = titleEdit_->text().toStdString();
    f.date = dateEdit_->text().toStdString();
    f.hour = hourEdit_->text().toStdString();
    f.minute = minuteEdit_->text().toStdString();
    f.amPm = amPmBox_->currentText().toStdString();
    f.message = messageEdit_->toPlainText().toStdString();
    f.enabled = enabledBox_->isChecked();
    f.recurring = recurringBox_->isChecked();
    // A text typed into the box that is none of the items counts as no choice.
    f.recurChoice = durationBox_->findText(durationBox_->currentText(), Qt::MatchExactly);
    return f;
}

void frmAddRem::setForm(const ReminderForm& f) {
    titleEdit_->setText(qs(f.title));
    dateEdit_->setText(qs(f.date));
    hourEdit_->setText(qs(f.hour));
    minuteEdit_->setText(qs(f.minute));
    amPmBox_->setEditText(qs(f.amPm));
    messageEdit_->setPlainText(qs(f.message));
    enabledBox_->setChecked(f.enabled);
    recurringBox_->setChecked(f.recurring);
    durationBox_->setCurrentIndex(f.recurring ? f.recurChoice : -1);
    if (durationBox_->currentIndex() < 0) durationBox_->setEditText(QString());
    durationBox_->setEnabled(f.recurring);
}

void frmAddRem::ok() {
    AppState& app = windows_.app();
    const ReminderForm f = form();
    const std::string path = app.paths.reminderFile();
    const ReminderChange change =
        editing_ ? editReminder(app.reminders, editSlot_, editTitle_, f, app.settings, path)
                 : addReminder(app.reminders, f, app.settings, path);
    // Refused: the fields stay as they are, so the user can put the fault right and press OK again.
    if (!windows_.tellChange(change)) return;
    if (change.stored) windows_.remindersChanged();
    close();
}

void frmAddRem::cancel() {
    close();
}

void frmAddRem::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cancel();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tavrin
