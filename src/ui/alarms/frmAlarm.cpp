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
    Combo1_ = list(this, kAlarmPlaceholder);
    for (const char* item : kAlarmPresets) Combo1_->addItem(QString::fromLatin1(item));
    Combo1_->setCurrentIndex(-1);
    connect(Combo1_, &QComboBox::activated, this, [this] { Combo1_Click(); });
    Text2_ = smallBox(this);
    Text3_ = smallBox(this);
    customAlarm_ = new QWidget(this);
    auto* customAlarmRow = new QHBoxLayout(customAlarm_);
    customAlarmRow->setContentsMargins(0, 0, 0, 0);
    customAlarmRow->addWidget(new QLabel(QStringLiteral("Hours:"), customAlarm_));
    Text2_->setParent(customAlarm_);
    customAlarmRow->addWidget(Text2_);
    customAlarmRow->addWidget(new QLabel(QStringLiteral("Minutes:"), customAlarm_));
    Text3_->setParent(customAlarm_);
    customAlarmRow->addWidget(Text3_);
    customAlarmRow->addStretch();
    // The custom boxes keep their room while hidden, so choosing "Custom..." moves nothing.
    QSizePolicy keepRoom = customAlarm_->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    customAlarm_->setSizePolicy(keepRoom);
    customAlarm_->hide();
    Combo2_ = zoneList(kZonePlaceholder);
    Text4_ = new QLineEdit(this);
    Text1_ = new QLineEdit(this);

    // The warning half.
    Combo3_ = list(this, kWarningPlaceholder);
    for (const char* item : kWarningPresets) Combo3_->addItem(QString::fromLatin1(item));
    Combo3_->setCurrentIndex(-1);
    connect(Combo3_, &QComboBox::activated, this, [this] { Combo3_Click(); });
    customWarning_ = new QWidget(this);
    auto* customWarningRow = new QHBoxLayout(customWarning_);
    customWarningRow->setContentsMargins(0, 0, 0, 0);
    Text5_ = smallBox(customWarning_);
    Text6_ = smallBox(customWarning_);
    Combo5_ = new QComboBox(customWarning_);
    Combo5_->addItems({QStringLiteral("AM"), QStringLiteral("PM")});
    customWarningRow->addWidget(Text5_);
    customWarningRow->addWidget(new QLabel(QStringLiteral(":"), customWarning_));
    customWarningRow->addWidget(Text6_);
    customWarningRow->addWidget(Combo5_);
    customWarningRow->addStretch();
    customWarning_->setSizePolicy(keepRoom);
    customWarning_->hide();
    Combo4_ = zoneList(kZonePlaceholder);
    Text7_ = new QLineEdit(this);

    const char* captions[] = {"Cancel", "OK", "Browse...", "Test Sound", "Browse..."};
    for (int i = 0; i < 5; ++i) {
        auto* button = new QPushButton(QString::fromLatin1(captions[i]), this);
        connect(button, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        Command1_[static_cast<std::size_t>(i)] = button;
    }
    Command1_[1]->setDefault(true);

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
    addChoices(Combo1_, customAlarm_, Combo2_, Text4_, Command1_[2]);
    grid->addWidget(new QLabel(QStringLiteral("Alarm Message:"), this), row, 0);
    grid->addWidget(Text1_, row++, 1, 1, 3);
    grid->addWidget(rule(this), row++, 0, 1, 4);
    grid->addWidget(heading(QStringLiteral("World Time Warning"), this), row++, 0, 1, 3);
    auto* explanation = new QLabel(
        QStringLiteral("When set up Tavrin will warn you when it is a certain time in another Time Zone."),
        this);
    explanation->setWordWrap(true);
    grid->addWidget(explanation, row++, 0, 1, 4);
    addChoices(Combo3_, customWarning_, Combo4_, Text7_, Command1_[4]);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1_[3]);
    buttons->addStretch();
    buttons->addWidget(Command1_[1]);
    buttons->addWidget(Command1_[0]);

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

void frmAlarm::Combo1_Click() {
    const bool custom = Combo1_->currentIndex() == kCustomAlarm;
    customAlarm_->setVisible(custom);
    if (custom) Text2_->setFocus();
}

void frmAlarm::Combo3_Click() {
    customWarning_->setVisible(Combo3_->currentIndex() == kCustomWarning);
}

AlarmEntry frmAlarm::entry() const {
    AlarmEntry e;
    e.alarmChoice = Combo1_->currentIndex();
    e.customHours = Text2_->text().toStdString();
    e.customMinutes = Text3_->text().toStdString();
    e.alarmZone = Combo2_->currentIndex();
    e.alarmSound = Text4_->text().toStdString();
    e.alarmMessage = Text1_->text().toStdString();
    e.warningChoice = Combo3_->currentIndex();
    e.warningHour = Text5_->text().toStdString();
    e.warningMinute = Text6_->text().toStdString();
    e.warningHalf = Combo5_->currentText().toStdString();
    e.warningZone = Combo4_->currentIndex();
    e.warningSound = Text7_->text().toStdString();
    return e;
}

void frmAlarm::Command1_Click(int index) {
    switch (index) {
        case 0:
            disarmAll(app_.alarms);
            close();
            break;
        case 1:
            ok();
            break;
        case 2:
            browse(Text4_);
            break;
        case 3:
            testSound();
            break;
        case 4:
            browse(Text7_);
            break;
        default:
            break;
    }
}

void frmAlarm::ok() {
    const AlarmArming result = armFromDialog(
        app_.alarms, entry(), alarmZonesOf(zoneChoices_, app_.zones, app_.store, app_.clock), app_.settings);
    Text2_->setText(qs(result.customHours));
    Text3_->setText(qs(result.customMinutes));
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
    const FileSelection chosen = dialogs_.ShowOpen(this, request, true);
    if (chosen.count > 0) into->setText(qs(chosen.firstPath()));
}

void frmAlarm::testSound() {
    const std::optional<std::string> path =
        soundToTest(Text4_->text().toStdString(), Text7_->text().toStdString());
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
