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
#include <utility>

#include "core/settings/ColourText.h"
#include "core/settings/PanelOffset.h"
#include "ui/settings/ZoneListModel.h"
#include "ui/utilities/ClickLabel.h"
#include "ui/utilities/QtColour.h"
#include "ui/utilities/WindowPlacement.h"

namespace tavrin {

namespace {

// The client area: 9525 twips wide, and a row taller than the first 5580 twips for the clock's place
// on the panel.
constexpr int kWidth = 635;
constexpr int kHeight = 400;
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
    prefs_.open();
    {
        const QSignalBlocker quiet(Combo1_);
        Combo1_->addItems(QFontDatabase::families());
    }
    showControls();

    centreOnScreen(*this);
}

frmPrefs::~frmPrefs() = default;

QLabel* frmPrefs::Label3(int index) const {
    return index >= 0 && index < 10 ? Label3_[static_cast<std::size_t>(index)] : nullptr;
}

void frmPrefs::buildControls() {
    auto caption = [this](int index, const char* text, int x, int y, int width) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        label->setGeometry(x, y, width, 18);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        Label3_[static_cast<std::size_t>(index)] = label;
    };
    // A field's caption is its buddy, which names the field for the accessibility tools.
    auto fieldLabel = [this](int index, const char* text, int y, QWidget* field) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        label->setGeometry(kRight, y, 84, kRow);
        label->setBuddy(field);
        Label3_[static_cast<std::size_t>(index)] = label;
    };

    // World Time Zones, with a filter, since the catalogue holds hundreds of zones.
    caption(0, "World Time Zones", kLeft, 6, kLeftWidth);
    txtZoneFilter_ = new QLineEdit(this);
    txtZoneFilter_->setGeometry(kLeft, 26, kLeftWidth, kRow);
    txtZoneFilter_->setPlaceholderText(QStringLiteral("Find a zone: city, country or offset"));
    txtZoneFilter_->setClearButtonEnabled(true);
    txtZoneFilter_->setAccessibleName(QStringLiteral("Find a zone"));
    txtZoneFilter_->installEventFilter(this);
    lstVTZones_ = new QTreeView(this);
    lstVTZones_->setGeometry(kLeft, 54, kLeftWidth, 214);
    lstVTZones_->setAccessibleName(QStringLiteral("World Time Zones"));
    lstVTZones_->setRootIsDecorated(false);
    lstVTZones_->setUniformRowHeights(true);
    lstVTZones_->setAllColumnsShowFocus(true);
    lstVTZones_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    model_ = new ZoneListModel(zones_, this);
    lstVTZones_->setModel(model_);
    lstVTZones_->header()->setStretchLastSection(true);
    connect(txtZoneFilter_, &QLineEdit::textChanged, model_, &ZoneListModel::setFilter);
    connect(model_, &ZoneListModel::tickRefused, this,
            [this] { app_.asker.tell(kTooManyZonesTitle, kTooManyZonesText, MessageIcon::Information); });

    caption(1, "Time Zone Sorting", kLeft, 274, kLeftWidth);
    Combo5_[0] = makeCombo(this, {"Alphabetically", "By Time"}, QRect(kLeft, 294, 156, kRow));
    Combo5_[1] = makeCombo(this, {"Ascending", "Descending"}, QRect(kLeft + 162, 294, 156, kRow));
    for (int i = 0; i < 2; ++i) {
        connect(Combo5_[static_cast<std::size_t>(i)], &QComboBox::currentTextChanged, this,
                [this, i](const QString& text) { prefs_.setSortText(i, text.toStdString()); });
    }
    chkLStartup_ = new QCheckBox(QStringLiteral("Load Tavrin on Startup?"), this);
    chkLStartup_->setGeometry(kLeft, 322, kLeftWidth, 20);
    Command3_ = new QPushButton(QStringLiteral("&Support && About Tavrin"), this);
    Command3_->setGeometry(kLeft, 346, 180, 26);
    connect(Command3_, &QPushButton::clicked, this, [this] {
        if (hooks_.showAbout) hooks_.showAbout();
    });

    // Display Formats.
    caption(2, "Display Formats", kRight, 6, kRightWidth);
    txtFDate_ = new QLineEdit(this);
    txtFDate_->setGeometry(kRight + 86, 26, kRightWidth - 86, kRow);
    fieldLabel(7, "Date Format:", 26, txtFDate_);
    txtFTime_ = new QLineEdit(this);
    txtFTime_->setGeometry(kRight + 86, 52, kRightWidth - 86, kRow);
    fieldLabel(8, "Time Format:", 52, txtFTime_);
    Combo4_ = makeCombo(this, menuFormats(), QRect(kRight + 86, 78, kRightWidth - 86, kRow));
    // A typed pattern is kept as typed: completing "HH:MM" to the preset "hh:mm am/pm" would store a
    // format the user never chose.
    Combo4_->setCompleter(nullptr);
    fieldLabel(9, "Menu Format:", 78, Combo4_);
    chkTZDispOff_ = new QCheckBox(QStringLiteral("Show Time Zone offsets infront of the city?"), this);
    chkTZDispOff_->setGeometry(kRight, 104, kRightWidth, 20);

    // Colors & Color Schemes.
    caption(3, "Colors & Color Schemes", kRight, 128, kRightWidth);
    const char* swatches[] = {"Date Color", "Time Color", "Menu Color"};
    const int swatchWidth = (kRightWidth - 8) / 3;
    for (int i = 0; i < 3; ++i) {
        auto* swatch = makeSwatch(QString::fromLatin1(swatches[i]), this, [this, i] { Label1_Click(i); });
        swatch->setGeometry(kRight + i * (swatchWidth + 4), 148, swatchWidth, kRow);
        Label1_[static_cast<std::size_t>(i)] = swatch;
    }
    Combo7_ = makeCombo(this, schemeNames(), QRect(kRight, 176, kRightWidth - 52, kRow));
    connect(Combo7_, &QComboBox::activated, this,
            [this](int item) { onSchemeText(Combo7_->itemText(item)); });
    connect(Combo7_->lineEdit(), &QLineEdit::textEdited, this, &frmPrefs::onSchemeText);
    Label24_ = new QLabel(this);
    Label24_->setGeometry(kRight + kRightWidth - 46, 176, 46, kRow);
    Label24_->setFrameShape(QFrame::StyledPanel);
    Label24_->setFrameShadow(QFrame::Sunken);
    Label24_->setAutoFillBackground(true);
    Label24_->setAccessibleName(QStringLiteral("Scheme colour"));

    // Font Settings.
    caption(4, "Font Settings", kRight, 204, kRightWidth);
    Combo3_ = makeCombo(this, {"Time Display", "Date Display"}, QRect(kRight, 224, 118, kRow));
    Combo1_ = makeCombo(this, {}, QRect(kRight + 124, 224, kRightWidth - 124, kRow));
    Combo2_ = makeCombo(this, fontSizes(), QRect(kRight, 250, 64, kRow));
    chkDBold_ = new QCheckBox(QStringLiteral("Bold?"), this);
    chkDBold_->setGeometry(kRight + 74, 252, 80, 20);
    connect(Combo3_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        prefs_.setFontTarget(text.toStdString());
        showFontControls();
    });
    connect(Combo1_, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { prefs_.setFontName(text.toStdString()); });
    connect(Combo2_, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { prefs_.setFontSize(text.toStdString()); });
    connect(chkDBold_, &QCheckBox::clicked, this, [this](bool checked) { prefs_.setBold(checked); });

    // Background Image.
    caption(5, "Background Image", kRight, 278, kRightWidth);
    Text1_ = new QLineEdit(this);
    Text1_->setGeometry(kRight, 298, kRightWidth - 88, kRow);
    Text1_->setAccessibleName(QStringLiteral("Background Image"));
    Command5_ = new QPushButton(QStringLiteral("Browse..."), this);
    Command5_->setGeometry(kRight + kRightWidth - 82, 297, 82, 26);
    connect(Command5_, &QPushButton::clicked, this, &frmPrefs::Command5_Click);

    // The clock's place on the panel: its distance from the panel's end, which a drag with Ctrl held
    // also sets.
    panelOffsetBox_ = new QSpinBox(this);
    panelOffsetBox_->setGeometry(kRight + 86, 330, 80, kRow);
    panelOffsetBox_->setRange(0, kMaxPanelOffset);
    panelOffsetBox_->setSuffix(QStringLiteral(" px"));
    panelOffsetBox_->setToolTip(QStringLiteral(
        "How far from the panel's end the clock sits; a drag on the clock with Ctrl held moves it too"));
    fieldLabel(6, "On the panel:", 330, panelOffsetBox_);
    resetPositionButton_ = new QPushButton(QStringLiteral("Reset position"), this);
    resetPositionButton_->setGeometry(kRight + 172, 329, kRightWidth - 172, 26);
    resetPositionButton_->setAutoDefault(false);
    connect(resetPositionButton_, &QPushButton::clicked, this, &frmPrefs::resetPosition);

    const int buttonWidth = 80;
    Command4_ = new QPushButton(QStringLiteral("&Apply"), this);
    Command2_ = new QPushButton(QStringLiteral("&OK"), this);
    Command1_ = new QPushButton(QStringLiteral("&Cancel"), this);
    int x = kWidth - 8 - 3 * buttonWidth - 12;
    for (QPushButton* button : {Command4_, Command2_, Command1_}) {
        button->setGeometry(x, 368, buttonWidth, 26);
        button->setAutoDefault(false);
        x += buttonWidth + 6;
    }
    Command2_->setDefault(true);
    QFont bold = Command2_->font();
    bold.setBold(true);
    Command2_->setFont(bold);
    connect(Command4_, &QPushButton::clicked, this, &frmPrefs::Command4_Click);
    connect(Command2_, &QPushButton::clicked, this, &frmPrefs::Command2_Click);
    connect(Command1_, &QPushButton::clicked, this, &QDialog::reject);
}

void frmPrefs::showControls() {
    const PrefsControls& c = prefs_.controls();
    showText(txtFDate_, c.txtFDate);
    showText(txtFTime_, c.txtFTime);
    showText(Combo4_, c.Combo4);
    for (std::size_t i = 0; i < 2; ++i) showText(Combo5_[i], c.Combo5[i]);
    {
        const QSignalBlocker quiet(chkTZDispOff_);
        chkTZDispOff_->setChecked(c.chkTZDispOff);
    }
    {
        const QSignalBlocker quiet(chkLStartup_);
        chkLStartup_->setChecked(c.chkLStartup);
    }
    showText(Combo7_, c.Combo7);
    showText(Combo3_, c.Combo3);
    showText(Text1_, c.Text1);
    {
        const QSignalBlocker quiet(panelOffsetBox_);
        panelOffsetBox_->setValue(c.panelOffset);
    }
    showFontControls();
    showColours();
}

void frmPrefs::showFontControls() {
    const PrefsControls& c = prefs_.controls();
    showText(Combo1_, c.Combo1);
    showText(Combo2_, c.Combo2);
    {
        const QSignalBlocker quiet(chkDBold_);
        chkDBold_->setChecked(c.chkDBold);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{Combo1_, Combo2_, chkDBold_})
        w->setEnabled(c.fontsEnabled);
}

void frmPrefs::showColours() {
    const PrefsControls& c = prefs_.controls();
    for (std::size_t i = 0; i < 3; ++i) {
        QPalette palette = Label1_[i]->palette();
        palette.setColor(QPalette::WindowText, qColorOfText(colourText(c.Label1[i])));
        Label1_[i]->setPalette(palette);
    }
    QPalette palette = Label24_->palette();
    palette.setColor(QPalette::Window, qColorOfText(colourText(c.Label24)));
    Label24_->setPalette(palette);
}

void frmPrefs::readPlainFields() {
    PrefsControls& c = prefs_.controls();
    c.txtFDate = txtFDate_->text().toStdString();
    c.txtFTime = txtFTime_->text().toStdString();
    c.Combo4 = Combo4_->currentText().toStdString();
    c.Combo5 = {Combo5_[0]->currentText().toStdString(), Combo5_[1]->currentText().toStdString()};
    c.chkTZDispOff = chkTZDispOff_->isChecked();
    c.Text1 = Text1_->text().toStdString();
    c.chkLStartup = chkLStartup_->isChecked();
    c.Combo7 = Combo7_->currentText().toStdString();
    c.panelOffset = panelOffsetBox_->value();
}

void frmPrefs::onSchemeText(const QString& text) {
    if (!prefs_.setSchemeText(text.toStdString())) return;
    const ColorChoice choice = dialogs_.ShowColor(this, true);
    if (!choice.cancelled) prefs_.pickCustomColour(choice.colour);
    showColours();
}

void frmPrefs::tickZone(int row, bool checked) {
    model_->setData(model_->index(row, 0), checked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

void frmPrefs::Label1_Click(int index) {
    const ColorChoice choice = dialogs_.ShowColor(this, true);
    if (choice.cancelled) return;
    prefs_.pickSwatchColour(index, choice.colour);
    showColours();
}

void frmPrefs::Command4_Click() {
    readPlainFields();
    prefs_.putSettings();
    showColours();
    if (hooks_.applied) hooks_.applied();
}

void frmPrefs::Command2_Click() {
    Command4_Click();
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

void frmPrefs::Command5_Click() {
    OpenRequest request;
    request.title = "Show Open";
    request.filter = {
        {"Bitmap Image (*.BMP)", "*.bmp"}, {"JPEG Image (*.JPG)", "*.jpg"}, {"All Files (*.*)", "*.*"}};
    request.initialDirectory = appDir_ + "/";
    const FileSelection chosen = dialogs_.ShowOpen(this, request, true);
    if (chosen.count <= 0) return;
    showText(Text1_, chosen.firstPath());
}

bool frmPrefs::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the filter box goes to the zones it found, rather than pressing OK.
    if (watched == txtZoneFilter_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            lstVTZones_->setFocus();
            if (model_->rowCount() > 0) lstVTZones_->setCurrentIndex(model_->index(0, 0));
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
