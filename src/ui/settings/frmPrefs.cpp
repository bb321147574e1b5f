#include "ui/settings/frmPrefs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTreeView>
#include <algorithm>
#include <utility>

#include "core/calendars/CalendarList.h"
#include "core/settings/ColourText.h"
#include "core/settings/PanelOffset.h"
#include "ui/settings/ZoneListModel.h"
#include "ui/utilities/ClickLabel.h"
#include "ui/utilities/QtColour.h"
#include "ui/utilities/WindowPlacement.h"

namespace tavrin {

namespace {

// The client area: 9525 twips wide, and two rows taller than the first 5580 twips for the clock's
// place on the panel, the snooze and the desktop's notifications.
constexpr int kWidth = 635;
constexpr int kHeight = 474;
constexpr int kRow = 24;
constexpr int kLeft = 8;
constexpr int kLeftWidth = 318;
constexpr int kRight = 340;
constexpr int kRightWidth = kWidth - kRight - 8;

// A colour swatch: a sunken, bold caption that answers a click.
ClickLabel* makeSwatch(const QString& text, QWidget* parent, std::function<void()> onClick) {
    auto* swatch = new ClickLabel(text, parent, std::move(onClick));
    swatch->setAlignment(Qt::AlignCenter);
    swatch->setFrameShape(QFrame::StyledPanel);
    swatch->setFrameShadow(QFrame::Sunken);
    QFont bold = swatch->font();
    bold.setBold(true);
    swatch->setFont(bold);
    return swatch;
}

QComboBox* makeCombo(QWidget* parent, const std::vector<std::string>& items, const QRect& geometry) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& item : items) combo->addItem(QString::fromStdString(item));
    combo->setGeometry(geometry);
    return combo;
}

// Shows `text` in an editable combo box without running its handlers.
void showText(QComboBox* combo, const std::string& text) {
    const QSignalBlocker quiet(combo);
    const QString shown = QString::fromStdString(text);
    combo->setCurrentIndex(combo->findText(shown, Qt::MatchExactly));
    combo->setEditText(shown);
}

void showText(QLineEdit* edit, const std::string& text) {
    const QSignalBlocker quiet(edit);
    edit->setText(QString::fromStdString(text));
}

}  // namespace

frmPrefs::frmPrefs(AppState& app, CommonDialogs& dialogs, std::string applicationDirectory,
                   std::string programPath, PrefsHooks hooks, QWidget* parent)
    : QDialog(parent),
      app_(app),
      dialogs_(dialogs),
      appDir_(std::move(applicationDirectory)),
      programPath_(std::move(programPath)),
      hooks_(std::move(hooks)),
      prefs_(app.settings, buttonFaceColourText) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Tavrin for Windows: Preferences"));
    setFixedSize(kWidth, kHeight);
    buildControls();

    // The opening: the zone list first, then every control from the settings, the system's fonts
    // into the font list, and the font controls on the time font.
    zones_.fill(app_.store, app_.zones);
    model_->reload();
    offerSyncCalendars();
    prefs_.open();
    {
        const QSignalBlocker quiet(fontNameBox_);
        fontNameBox_->addItems(QFontDatabase::families());
    }
    showControls();

    centreOnScreen(*this);
}

frmPrefs::~frmPrefs() = default;

void frmPrefs::buildControls() {
    auto addCaption = [this](const char* text, int x, int y, int width) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        label->setGeometry(x, y, width, 18);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
    };
    // A field's caption is its buddy, which names the field for the accessibility tools.
    auto addFieldLabel = [this](const char* text, int y, QWidget* field, int width = 84) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        label->setGeometry(kRight, y, width, kRow);
        label->setBuddy(field);
    };

    // World Time Zones, with a filter, since the catalogue holds hundreds of zones.
    addCaption("World Time Zones", kLeft, 6, kLeftWidth);
    zoneFilterEdit_ = new QLineEdit(this);
    zoneFilterEdit_->setGeometry(kLeft, 26, kLeftWidth, kRow);
    zoneFilterEdit_->setPlaceholderText(QStringLiteral("Find a zone: city, country or offset"));
    zoneFilterEdit_->setClearButtonEnabled(true);
    zoneFilterEdit_->setAccessibleName(QStringLiteral("Find a zone"));
    zoneFilterEdit_->installEventFilter(this);
    zoneView_ = new QTreeView(this);
    zoneView_->setGeometry(kLeft, 54, kLeftWidth, 214);
    zoneView_->setAccessibleName(QStringLiteral("World Time Zones"));
    zoneView_->setRootIsDecorated(false);
    zoneView_->setUniformRowHeights(true);
    zoneView_->setAllColumnsShowFocus(true);
    zoneView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    model_ = new ZoneListModel(zones_, this);
    zoneView_->setModel(model_);
    zoneView_->header()->setStretchLastSection(true);
    connect(zoneFilterEdit_, &QLineEdit::textChanged, model_, &ZoneListModel::setFilter);
    connect(model_, &ZoneListModel::tickRefused, this,
            [this] { app_.asker.tell(kTooManyZonesTitle, kTooManyZonesText, MessageIcon::Information); });

    addCaption("Time Zone Sorting", kLeft, 274, kLeftWidth);
    sortBoxes_[0] = makeCombo(this, {"Alphabetically", "By Time"}, QRect(kLeft, 294, 156, kRow));
    sortBoxes_[1] = makeCombo(this, {"Ascending", "Descending"}, QRect(kLeft + 162, 294, 156, kRow));
    for (int i = 0; i < 2; ++i) {
        connect(sortBoxes_[static_cast<std::size_t>(i)], &QComboBox::currentTextChanged, this,
                [this, i](const QString& text) { prefs_.setSortText(i, text.toStdString()); });
    }
    // The span the menu tints in each zone's own day, Monday to Friday.
    workingHoursEdit_ = new QLineEdit(this);
    workingHoursEdit_->setGeometry(kLeft + 104, 322, 110, kRow);
    workingHoursEdit_->setToolTip(
        QStringLiteral("The menu tints a zone's line in these hours, Monday to Friday"));
    auto* workingHoursLabel = new QLabel(QStringLiteral("&Working Hours:"), this);
    workingHoursLabel->setGeometry(kLeft, 322, 100, kRow);
    workingHoursLabel->setBuddy(workingHoursEdit_);
    startupBox_ = new QCheckBox(QStringLiteral("Load Tavrin on Startup?"), this);
    startupBox_->setGeometry(kLeft, 350, kLeftWidth, 20);
    aboutButton_ = new QPushButton(QStringLiteral("&Support && About Tavrin"), this);
    aboutButton_->setGeometry(kLeft, 374, 180, 26);
    connect(aboutButton_, &QPushButton::clicked, this, [this] {
        if (hooks_.showAbout) hooks_.showAbout();
    });
    auto* calendarsButton = new QPushButton(QStringLiteral("&Calendars..."), this);
    calendarsButton->setGeometry(kLeft + 186, 346, kLeftWidth - 186, 26);
    connect(calendarsButton, &QPushButton::clicked, this, [this] {
        if (hooks_.showCalendars) hooks_.showCalendars();
    });

    // Display Formats.
    addCaption("Display Formats", kRight, 6, kRightWidth);
    dateFormatEdit_ = new QLineEdit(this);
    dateFormatEdit_->setGeometry(kRight + 86, 26, kRightWidth - 86, kRow);
    addFieldLabel("Date Format:", 26, dateFormatEdit_);
    timeFormatEdit_ = new QLineEdit(this);
    timeFormatEdit_->setGeometry(kRight + 86, 52, kRightWidth - 86, kRow);
    addFieldLabel("Time Format:", 52, timeFormatEdit_);
    menuFormatBox_ = makeCombo(this, menuFormats(), QRect(kRight + 86, 78, kRightWidth - 86, kRow));
    // A typed pattern is kept as typed: completing "HH:MM" to the preset "hh:mm am/pm" would store a
    // format the user never chose.
    menuFormatBox_->setCompleter(nullptr);
    addFieldLabel("Menu Format:", 78, menuFormatBox_);
    offsetsInFrontBox_ = new QCheckBox(QStringLiteral("Show Time Zone offsets infront of the city?"), this);
    offsetsInFrontBox_->setGeometry(kRight, 104, kRightWidth, 20);

    // Colors & Color Schemes.
    addCaption("Colors & Color Schemes", kRight, 128, kRightWidth);
    const char* swatches[] = {"Date Color", "Time Color", "Menu Color"};
    const int swatchWidth = (kRightWidth - 8) / 3;
    for (int i = 0; i < 3; ++i) {
        auto* swatch =
            makeSwatch(QString::fromLatin1(swatches[i]), this, [this, i] { chooseSwatchColour(i); });
        swatch->setGeometry(kRight + i * (swatchWidth + 4), 148, swatchWidth, kRow);
        colourSwatches_[static_cast<std::size_t>(i)] = swatch;
    }
    schemeBox_ = makeCombo(this, schemeNames(), QRect(kRight, 176, kRightWidth - 52, kRow));
    connect(schemeBox_, &QComboBox::activated, this,
            [this](int item) { onSchemeText(schemeBox_->itemText(item)); });
    connect(schemeBox_->lineEdit(), &QLineEdit::textEdited, this, &frmPrefs::onSchemeText);
    schemeSwatch_ = new QLabel(this);
    schemeSwatch_->setGeometry(kRight + kRightWidth - 46, 176, 46, kRow);
    schemeSwatch_->setFrameShape(QFrame::StyledPanel);
    schemeSwatch_->setFrameShadow(QFrame::Sunken);
    schemeSwatch_->setAutoFillBackground(true);
    schemeSwatch_->setAccessibleName(QStringLiteral("Scheme colour"));

    // Font Settings.
    addCaption("Font Settings", kRight, 204, kRightWidth);
    fontTargetBox_ = makeCombo(this, {"Time Display", "Date Display"}, QRect(kRight, 224, 118, kRow));
    fontNameBox_ = makeCombo(this, {}, QRect(kRight + 124, 224, kRightWidth - 124, kRow));
    fontSizeBox_ = makeCombo(this, fontSizes(), QRect(kRight, 250, 64, kRow));
    boldBox_ = new QCheckBox(QStringLiteral("Bold?"), this);
    boldBox_->setGeometry(kRight + 74, 252, 80, 20);
    connect(fontTargetBox_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        prefs_.setFontTarget(text.toStdString());
        showFontControls();
    });
    connect(fontNameBox_, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { prefs_.setFontName(text.toStdString()); });
    connect(fontSizeBox_, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { prefs_.setFontSize(text.toStdString()); });
    connect(boldBox_, &QCheckBox::clicked, this, [this](bool checked) { prefs_.setBold(checked); });

    // Background Image.
    addCaption("Background Image", kRight, 278, kRightWidth);
    pictureEdit_ = new QLineEdit(this);
    pictureEdit_->setGeometry(kRight, 298, kRightWidth - 88, kRow);
    pictureEdit_->setAccessibleName(QStringLiteral("Background Image"));
    browseButton_ = new QPushButton(QStringLiteral("Browse..."), this);
    browseButton_->setGeometry(kRight + kRightWidth - 82, 297, 82, 26);
    connect(browseButton_, &QPushButton::clicked, this, &frmPrefs::browsePicture);

    // The clock's place on the panel: its distance from the panel's end, which a drag with Ctrl held
    // also sets.
    panelOffsetBox_ = new QSpinBox(this);
    panelOffsetBox_->setGeometry(kRight + 86, 330, 80, kRow);
    panelOffsetBox_->setRange(0, kMaxPanelOffset);
    panelOffsetBox_->setSuffix(QStringLiteral(" px"));
    panelOffsetBox_->setToolTip(QStringLiteral(
        "How far from the panel's end the clock sits; a drag on the clock with Ctrl held moves it too"));
    addFieldLabel("On the panel:", 330, panelOffsetBox_);
    resetPositionButton_ = new QPushButton(QStringLiteral("Reset position"), this);
    resetPositionButton_->setGeometry(kRight + 172, 329, kRightWidth - 172, 26);
    resetPositionButton_->setAutoDefault(false);
    connect(resetPositionButton_, &QPushButton::clicked, this, &frmPrefs::resetPosition);

    // How a ringing alarm is put off, and where announcements show.
    snoozeBox_ = new QSpinBox(this);
    snoozeBox_->setGeometry(kLeft + 62, 408, 96, kRow);
    snoozeBox_->setRange(1, kMaxSnoozeMinutes);
    snoozeBox_->setSuffix(QStringLiteral(" min"));
    auto* snoozeLabel = new QLabel(QStringLiteral("Snooze:"), this);
    snoozeLabel->setGeometry(kLeft, 408, 60, kRow);
    snoozeLabel->setBuddy(snoozeBox_);
    notificationsBox_ = new QComboBox(this);
    notificationsBox_->addItems({QStringLiteral("Balloon only"), QStringLiteral("Balloon and desktop"),
                                 QStringLiteral("Desktop only")});
    notificationsBox_->setGeometry(kRight + 86, 408, kRightWidth - 86, kRow);
    notificationsBox_->setToolTip(QStringLiteral(
        "Announce reminders and alarms in the balloon, the desktop's notifications, or both; the balloon "
        "shows whenever the desktop has no notification server"));
    addFieldLabel("Notifications:", 408, notificationsBox_);

    // The CalDAV calendar that holds the reminders, so that other machines and phones share them.
    syncBox_ = new QComboBox(this);
    syncBox_->setGeometry(kRight + 106, 369, kRightWidth - 106, kRow);
    syncBox_->setToolTip(QStringLiteral(
        "Keep the reminders in this CalDAV calendar too, so that your other machines and your phone share "
        "them; add the calendar with \"Calendars...\" first"));
    addFieldLabel("Sync Reminders:", 369, syncBox_, 104);

    const int buttonWidth = 80;
    applyButton_ = new QPushButton(QStringLiteral("&Apply"), this);
    okButton_ = new QPushButton(QStringLiteral("&OK"), this);
    cancelButton_ = new QPushButton(QStringLiteral("&Cancel"), this);
    int x = kWidth - 8 - 3 * buttonWidth - 12;
    for (QPushButton* button : {applyButton_, okButton_, cancelButton_}) {
        button->setGeometry(x, 440, buttonWidth, 26);
        button->setAutoDefault(false);
        x += buttonWidth + 6;
    }
    okButton_->setDefault(true);
    QFont bold = okButton_->font();
    bold.setBold(true);
    okButton_->setFont(bold);
    connect(applyButton_, &QPushButton::clicked, this, &frmPrefs::apply);
    connect(okButton_, &QPushButton::clicked, this, &frmPrefs::saveAndClose);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void frmPrefs::showControls() {
    const PrefsControls& c = prefs_.controls();
    showText(dateFormatEdit_, c.dateFormat);
    showText(timeFormatEdit_, c.timeFormat);
    showText(menuFormatBox_, c.menuFormat);
    workingHoursEdit_->setText(QString::fromStdString(c.workingHours));
    for (std::size_t i = 0; i < 2; ++i) showText(sortBoxes_[i], c.sortTexts[i]);
    {
        const QSignalBlocker quiet(offsetsInFrontBox_);
        offsetsInFrontBox_->setChecked(c.offsetsInFront);
    }
    {
        const QSignalBlocker quiet(startupBox_);
        startupBox_->setChecked(c.startAtLogon);
    }
    showText(schemeBox_, c.schemeText);
    showText(fontTargetBox_, c.fontTargetText);
    showText(pictureEdit_, c.picture);
    {
        const QSignalBlocker quiet(panelOffsetBox_);
        panelOffsetBox_->setValue(c.panelOffset);
    }
    snoozeBox_->setValue(c.snoozeMinutes);
    notificationsBox_->setCurrentIndex(c.notifications);
    syncBox_->setCurrentIndex(std::max(0, syncBox_->findData(QString::fromStdString(c.syncCalendar))));
    showFontControls();
    showColours();
}

void frmPrefs::offerSyncCalendars() {
    std::vector<SyncChoice>& choices = prefs_.controls().syncChoices;
    choices.clear();
    const Result<std::vector<CalendarSubscription>> calendars =
        readCalendarList(app_.store, app_.settings.SettingsRoot);
    if (!calendars) {
        // A list that cannot be read now does not switch the sync off: the calendar stays chosen.
        qWarning("tavrin: %s", calendars.message().c_str());
        if (!app_.settings.SyncCalendar.empty())
            choices.push_back({app_.settings.SyncCalendar, app_.settings.SyncCalendar});
    } else {
        for (const CalendarSubscription& calendar : *calendars)
            if (calendar.source == CalendarSource::CalDav) choices.push_back({calendar.id, calendar.name});
    }
    const QSignalBlocker quiet(syncBox_);
    syncBox_->clear();
    syncBox_->addItem(QStringLiteral("Off"), QString());
    for (const SyncChoice& choice : choices)
        syncBox_->addItem(QString::fromStdString(choice.name), QString::fromStdString(choice.id));
}

void frmPrefs::showFontControls() {
    const PrefsControls& c = prefs_.controls();
    showText(fontNameBox_, c.fontName);
    showText(fontSizeBox_, c.fontSize);
    {
        const QSignalBlocker quiet(boldBox_);
        boldBox_->setChecked(c.bold);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{fontNameBox_, fontSizeBox_, boldBox_})
        w->setEnabled(c.fontsEnabled);
}

void frmPrefs::showColours() {
    const PrefsControls& c = prefs_.controls();
    for (std::size_t i = 0; i < 3; ++i) {
        QPalette palette = colourSwatches_[i]->palette();
        palette.setColor(QPalette::WindowText, qColorOfText(colourText(c.swatchColours[i])));
        colourSwatches_[i]->setPalette(palette);
    }
    QPalette palette = schemeSwatch_->palette();
    palette.setColor(QPalette::Window, qColorOfText(colourText(c.schemeColour)));
    schemeSwatch_->setPalette(palette);
}

void frmPrefs::readPlainFields() {
    PrefsControls& c = prefs_.controls();
    c.dateFormat = dateFormatEdit_->text().toStdString();
    c.timeFormat = timeFormatEdit_->text().toStdString();
    c.menuFormat = menuFormatBox_->currentText().toStdString();
    c.workingHours = workingHoursEdit_->text().toStdString();
    c.sortTexts = {sortBoxes_[0]->currentText().toStdString(), sortBoxes_[1]->currentText().toStdString()};
    c.offsetsInFront = offsetsInFrontBox_->isChecked();
    c.picture = pictureEdit_->text().toStdString();
    c.startAtLogon = startupBox_->isChecked();
    c.schemeText = schemeBox_->currentText().toStdString();
    c.panelOffset = panelOffsetBox_->value();
    c.snoozeMinutes = snoozeBox_->value();
    c.notifications = notificationsBox_->currentIndex();
    c.syncCalendar = syncBox_->currentData().toString().toStdString();
}

void frmPrefs::onSchemeText(const QString& text) {
    if (!prefs_.setSchemeText(text.toStdString())) return;
    const ColorChoice choice = dialogs_.showColor(this, true);
    if (!choice.cancelled) prefs_.pickCustomColour(choice.colour);
    showColours();
}

void frmPrefs::tickZone(int row, bool checked) {
    model_->setData(model_->index(row, 0), checked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

void frmPrefs::chooseSwatchColour(int index) {
    const ColorChoice choice = dialogs_.showColor(this, true);
    if (choice.cancelled) return;
    prefs_.pickSwatchColour(index, choice.colour);
    showColours();
}

void frmPrefs::apply() {
    readPlainFields();
    prefs_.putSettings();
    showColours();
    if (hooks_.applied) hooks_.applied();
}

void frmPrefs::saveAndClose() {
    apply();
    const Result saved = prefs_.saveSettings(app_.store, app_.zones, zones_, programPath_);
    showColours();
    if (saved && hooks_.saved) hooks_.saved();
    if (!saved.message().empty()) app_.asker.tell("Tavrin Error Message", saved.message(), MessageIcon::Stop);
    // Settings the store refused stay here, with the dialog, for another try.
    if (saved) accept();
}

void frmPrefs::resetPosition() {
    {
        const QSignalBlocker quiet(panelOffsetBox_);
        panelOffsetBox_->setValue(0);
    }
    prefs_.controls().panelOffset = 0;
    const Result kept = storePanelOffset(app_.store, app_.settings, 0);
    app_.settings.PanelOffset = 0;
    if (hooks_.applied) hooks_.applied();
    if (!kept.ok()) app_.asker.tell("Tavrin Error Message", kept.message(), MessageIcon::Stop);
}

void frmPrefs::browsePicture() {
    OpenRequest request;
    request.title = "Show Open";
    request.filter = {
        {"Bitmap Image (*.BMP)", "*.bmp"}, {"JPEG Image (*.JPG)", "*.jpg"}, {"All Files (*.*)", "*.*"}};
    request.initialDirectory = appDir_ + "/";
    const FileSelection chosen = dialogs_.showOpen(this, request, true);
    if (chosen.count <= 0) return;
    showText(pictureEdit_, chosen.firstPath());
}

bool frmPrefs::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the filter box goes to the zones it found, rather than pressing OK.
    if (watched == zoneFilterEdit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            zoneView_->setFocus();
            if (model_->rowCount() > 0) zoneView_->setCurrentIndex(model_->index(0, 0));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmPrefs::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (painted_) return;
    painted_ = true;
    emit firstPaint();
}

}  // namespace tavrin
