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

    Text4_ = new QLineEdit(this);
    Text4_->setMaxLength(kTitleLimit);
    Text1_ = new QLineEdit(this);
    txtHour_ = new QLineEdit(this);
    txtHour_->setMaxLength(2);
    txtHour_->setFixedWidth(34);
    txtMinute_ = new QLineEdit(this);
    txtMinute_->setMaxLength(2);
    txtMinute_->setFixedWidth(34);
    Combo1_ = new QComboBox(this);
    Combo1_->setEditable(true);
    Combo1_->setInsertPolicy(QComboBox::NoInsert);
    Combo1_->addItems({QStringLiteral("AM"), QStringLiteral("PM")});
    Combo1_->setFixedWidth(64);
    Text3_ = new QPlainTextEdit(this);
    Text3_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text3_->setTabChangesFocus(true);
    connect(Text3_, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = Text3_->toPlainText();
        if (text.size() <= kMessageLimit) return;
        const QSignalBlocker quiet(Text3_);
        Text3_->setPlainText(text.left(kMessageLimit));
        Text3_->moveCursor(QTextCursor::End);
    });
    Check1_ = new QCheckBox(QStringLiteral("Enabled?"), this);
    Check2_ = new QCheckBox(QStringLiteral("Re-Occuring Reminder?"), this);
    Combo2_ = new QComboBox(this);
    Combo2_->setEditable(true);
    Combo2_->setInsertPolicy(QComboBox::NoInsert);
    for (const char* d : kDurations) Combo2_->addItem(QString::fromLatin1(d));
    Combo2_->lineEdit()->setPlaceholderText(QStringLiteral("Duration"));
    connect(Check2_, &QCheckBox::toggled, Combo2_, &QWidget::setEnabled);
    Command2_ = new QPushButton(QStringLiteral("OK"), this);
    Command1_ = new QPushButton(QStringLiteral("Cancel"), this);
    connect(Command2_, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Reminder Title:"), this), 0, 0);
    grid->addWidget(Text4_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Date:"), this), 1, 0);
    grid->addWidget(Text1_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Time:"), this), 2, 0);
    auto* time = new QHBoxLayout;
    time->addWidget(txtHour_);
    time->addWidget(new QLabel(QStringLiteral(":"), this));
    time->addWidget(txtMinute_);
    time->addWidget(Combo1_);
    time->addStretch();
    grid->addLayout(time, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Reminder Message:"), this), 3, 0, 1, 2);
    grid->addWidget(Text3_, 4, 0, 1, 2);
    grid->addWidget(Check1_, 5, 0, 1, 2);
    auto* recur = new QHBoxLayout;
    recur->addWidget(Check2_);
    recur->addWidget(Combo2_, 1);
    grid->addLayout(recur, 6, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command2_);
    buttons->addWidget(Command1_);
    grid->addLayout(buttons, 7, 0, 1, 2);
    resize(340, 330);

    loadNew();
}

void frmAddRem::MyOhMy(bool Editable) {
    editing_ = Editable;
    if (!Editable) {
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
    f.title = Text4_->text().toStdString();
    f.date = Text1_->text().toStdString();
    f.hour = txtHour_->text().toStdString();
    f.minute = txtMinute_->text().toStdString();
    f.amPm = Combo1_->currentText().toStdString();
    f.message = Text3_->toPlainText().toStdString();
    f.enabled = Check1_->isChecked();
    f.recurring = Check2_->isChecked();
    // A text typed into the box that is none of the items counts as no choice.
    f.recurChoice = Combo2_->findText(Combo2_->currentText(), Qt::MatchExactly);
    return f;
}

void frmAddRem::setForm(const ReminderForm& f) {
    Text4_->setText(qs(f.title));
    Text1_->setText(qs(f.date));
    txtHour_->setText(qs(f.hour));
    txtMinute_->setText(qs(f.minute));
    Combo1_->setEditText(qs(f.amPm));
    Text3_->setPlainText(qs(f.message));
    Check1_->setChecked(f.enabled);
    Check2_->setChecked(f.recurring);
    Combo2_->setCurrentIndex(f.recurring ? f.recurChoice : -1);
    if (Combo2_->currentIndex() < 0) Combo2_->setEditText(QString());
    Combo2_->setEnabled(f.recurring);
}

void frmAddRem::Command2_Click() {
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

void frmAddRem::Command1_Click() {
    close();
}

void frmAddRem::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Command1_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tavrin
