#include "ui/alarms/frmAlarm.h"

#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/alarms/AlarmSetup.h"

namespace tavrin {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QLabel* heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

QComboBox* list(QWidget* parent, const char* placeholder) {
    auto* combo = new QComboBox(parent);
    combo->setPlaceholderText(QString::fromLatin1(placeholder));
    combo->setMinimumWidth(200);
    return combo;
}

QLineEdit* smallBox(QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setFixedWidth(36);
    return box;
}

QFrame* rule(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// Where "Browse..." starts: the desktop's sounds, else the user's home folder.
std::string soundsFolder() {
    const QDir sounds(QStringLiteral("/usr/share/sounds"));
    return (sounds.exists() ? sounds.absolutePath() : QDir::homePath()).toStdString() + "/";
}

}  // namespace

frmAlarm::frmAlarm(AppState& app, SoundPlayer& sound, CommonDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), app_(app), sound_(sound), dialogs_(dialogs) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Alarm"));

    zoneChoices_ = zoneChoices(app_.zones, app_.store);
    const auto zoneList = [&](const char* placeholder) {
        QComboBox* combo = list(this, placeholder);
        for (const ZoneChoice& z : zoneChoices_) combo->addItem(qs(z.text));
        combo->setCurrentIndex(0);  // "System Default"
        return combo;
    };

    // The alarm half.
    alarmPresetBox_ = list(this, kAlarmPlaceholder);
    for (const char* item : kAlarmPresets) alarmPresetBox_->addItem(QString::fromLatin1(item));
    alarmPresetBox_->setCurrentIndex(-1);
    connect(alarmPresetBox_, &QComboBox::activated, this, [this] { alarmPresetChosen(); });
    alarmHoursEdit_ = smallBox(this);
    alarmMinutesEdit_ = smallBox(this);
    customAlarm_ = new QWidget(this);
    auto* customAlarmRow = new QHBoxLayout(customAlarm_);
    customAlarmRow->setContentsMargins(0, 0, 0, 0);
    customAlarmRow->addWidget(new QLabel(QStringLiteral("Hours:"), customAlarm_));
    alarmHoursEdit_->setParent(customAlarm_);
    customAlarmRow->addWidget(alarmHoursEdit_);
    customAlarmRow->addWidget(new QLabel(QStringLiteral("Minutes:"), customAlarm_));
    alarmMinutesEdit_->setParent(customAlarm_);
    customAlarmRow->addWidget(alarmMinutesEdit_);
    customAlarmRow->addStretch();
    // The custom boxes keep their room while hidden, so choosing "Custom..." moves nothing.
    QSizePolicy keepRoom = customAlarm_->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    customAlarm_->setSizePolicy(keepRoom);
    customAlarm_->hide();
    alarmZoneBox_ = zoneList(kZonePlaceholder);
    alarmSoundEdit_ = new QLineEdit(this);
    alarmMessageEdit_ = new QLineEdit(this);

    // The warning half.
    warningPresetBox_ = list(this, kWarningPlaceholder);
    for (const char* item : kWarningPresets) warningPresetBox_->addItem(QString::fromLatin1(item));
    warningPresetBox_->setCurrentIndex(-1);
    connect(warningPresetBox_, &QComboBox::activated, this, [this] { warningPresetChosen(); });
    customWarning_ = new QWidget(this);
    auto* customWarningRow = new QHBoxLayout(customWarning_);
    customWarningRow->setContentsMargins(0, 0, 0, 0);
    warningHourEdit_ = smallBox(customWarning_);
    warningMinuteEdit_ = smallBox(customWarning_);
    warningHalfBox_ = new QComboBox(customWarning_);
    warningHalfBox_->addItems({QStringLiteral("AM"), QStringLiteral("PM")});
    customWarningRow->addWidget(warningHourEdit_);
    customWarningRow->addWidget(new QLabel(QStringLiteral(":"), customWarning_));
    customWarningRow->addWidget(warningMinuteEdit_);
    customWarningRow->addWidget(warningHalfBox_);
    customWarningRow->addStretch();
    customWarning_->setSizePolicy(keepRoom);
    customWarning_->hide();
    warningZoneBox_ = zoneList(kZonePlaceholder);
    warningSoundEdit_ = new QLineEdit(this);

    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    alarmBrowseButton_ = new QPushButton(QStringLiteral("Browse..."), this);
    testSoundButton_ = new QPushButton(QStringLiteral("Test Sound"), this);
    warningBrowseButton_ = new QPushButton(QStringLiteral("Browse..."), this);
    connect(cancelButton_, &QPushButton::clicked, this, &frmAlarm::cancel);
    connect(okButton_, &QPushButton::clicked, this, &frmAlarm::ok);
    connect(alarmBrowseButton_, &QPushButton::clicked, this, [this] { browse(alarmSoundEdit_); });
    connect(testSoundButton_, &QPushButton::clicked, this, &frmAlarm::testSound);
    connect(warningBrowseButton_, &QPushButton::clicked, this, [this] { browse(warningSoundEdit_); });
    okButton_->setDefault(true);

    status_ = new QLabel(this);
    status_->setWordWrap(true);
    status_->setMinimumHeight(32);
    QPalette statusPalette = status_->palette();
    statusPalette.setColor(QPalette::WindowText, QColor(0, 0, 128));
    status_->setPalette(statusPalette);

    auto* grid = new QGridLayout;
    int row = 0;
    // Both halves set a time (a preset list with its own hours and minutes beside it), a zone and a
    // sound file with its "Browse..." button.
    const auto addChoices = [&](QComboBox* when, QWidget* custom, QComboBox* zone, QLineEdit* soundFile,
                                QPushButton* browse) {
        grid->addWidget(when, row, 0, 1, 2);
        grid->addWidget(custom, row++, 2);
        grid->addWidget(zone, row++, 0, 1, 2);
        grid->addWidget(new QLabel(QStringLiteral("Sound File:"), this), row, 0);
        grid->addWidget(soundFile, row, 1, 1, 2);
        grid->addWidget(browse, row++, 3);
    };
    grid->addWidget(heading(QStringLiteral("Alarm"), this), row++, 0, 1, 3);
    addChoices(alarmPresetBox_, customAlarm_, alarmZoneBox_, alarmSoundEdit_, alarmBrowseButton_);
    grid->addWidget(new QLabel(QStringLiteral("Alarm Message:"), this), row, 0);
    grid->addWidget(alarmMessageEdit_, row++, 1, 1, 3);
    grid->addWidget(rule(this), row++, 0, 1, 4);
    grid->addWidget(heading(QStringLiteral("World Time Warning"), this), row++, 0, 1, 3);
    auto* explanation = new QLabel(
        QStringLiteral("When set up Tavrin will warn you when it is a certain time in another Time Zone."),
        this);
    explanation->setWordWrap(true);
    grid->addWidget(explanation, row++, 0, 1, 4);
    addChoices(warningPresetBox_, customWarning_, warningZoneBox_, warningSoundEdit_, warningBrowseButton_);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(testSoundButton_);
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(rule(this));
    layout->addWidget(status_);
    layout->addLayout(buttons);
    // A dialog of fixed size, as tall as its wrapped texts need.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const std::string armed = armedStatus(app_.alarms);
    status_->setText(armed.empty() ? QStringLiteral("No alarm or warning is set.") : qs(armed));
}

void frmAlarm::alarmPresetChosen() {
    const bool custom = alarmPresetBox_->currentIndex() == kCustomAlarm;
    customAlarm_->setVisible(custom);
    if (custom) alarmHoursEdit_->setFocus();
}

void frmAlarm::warningPresetChosen() {
    customWarning_->setVisible(warningPresetBox_->currentIndex() == kCustomWarning);
}

AlarmEntry frmAlarm::entry() const {
    AlarmEntry e;
    e.alarmChoice = alarmPresetBox_->currentIndex();
    e.customHours = alarmHoursEdit_->text().toStdString();
    e.customMinutes = alarmMinutesEdit_->text().toStdString();
    e.alarmZone = alarmZoneBox_->currentIndex();
    e.alarmSound = alarmSoundEdit_->text().toStdString();
    e.alarmMessage = alarmMessageEdit_->text().toStdString();
    e.warningChoice = warningPresetBox_->currentIndex();
    e.warningHour = warningHourEdit_->text().toStdString();
    e.warningMinute = warningMinuteEdit_->text().toStdString();
    e.warningHalf = warningHalfBox_->currentText().toStdString();
    e.warningZone = warningZoneBox_->currentIndex();
    e.warningSound = warningSoundEdit_->text().toStdString();
    return e;
}

void frmAlarm::cancel() {
    disarmAll(app_.alarms);
    close();
}

void frmAlarm::ok() {
    const AlarmArming result = armFromDialog(
        app_.alarms, entry(), alarmZonesOf(zoneChoices_, app_.zones, app_.store, app_.clock), app_.settings);
    alarmHoursEdit_->setText(qs(result.customHours));
    alarmMinutesEdit_->setText(qs(result.customMinutes));
    status_->setText(qs(result.status));
    for (const AlarmNotice& notice : result.notices)
        app_.asker.tell(notice.title, notice.text, MessageIcon::None);
    close();
}

void frmAlarm::browse(QLineEdit* into) {
    OpenRequest request;
    request.filter = {{"Wave Sound File", "*.wav"}};
    request.initialDirectory = soundsFolder();
    request.title = "Show Open";
    const FileSelection chosen = dialogs_.showOpen(this, request, true);
    if (chosen.count > 0) into->setText(qs(chosen.firstPath()));
}

void frmAlarm::testSound() {
    const std::optional<std::string> path =
        soundToTest(alarmSoundEdit_->text().toStdString(), warningSoundEdit_->text().toStdString());
    if (!path) {
        app_.asker.tell("Tavrin System Message", "No sound file selected!", MessageIcon::None);
        return;
    }
    if (!soundFileReadable(*path)) {
        app_.asker.tell("Tavrin System Message", "The sound file " + *path + " cannot be read.",
                        MessageIcon::None);
        return;
    }
    sound_.play(*path);
}

void frmAlarm::keyPressEvent(QKeyEvent* event) {
    // Escape closes the dialog and leaves everything armed as it was; only "Cancel" disarms.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tavrin
