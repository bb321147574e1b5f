#include "ui/settings/frmInitSetup.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QSignalBlocker>
#include <utility>

#include "ui/utilities/ClickLabel.h"
#include "ui/utilities/QtColour.h"
#include "ui/utilities/WindowPlacement.h"

namespace tavrin {

namespace {

constexpr int kWidth = 440;
constexpr int kHeight = 400;
constexpr int kHeaderHeight = 52;

QLabel* staticText(const QString& text, QWidget* parent, const QRect& geometry, bool wrap = false) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setWordWrap(wrap);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

QFrame* horizontalRule(QWidget* parent, int y) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(12, y, kWidth - 24, 2);
    return line;
}

}  // namespace

frmInitSetup::frmInitSetup(AppState& app, CommonDialogs& dialogs, std::function<void()> onFinished,
                           QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      app_(app),
      onFinished_(std::move(onFinished)),
      dialogs_(dialogs) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Tavrin Initial Setup"));
    setFixedSize(kWidth, kHeight);

    auto* heading = staticText(QStringLiteral("Tavrin for Windows"), this, QRect(18, 10, 300, 32));
    QFont headingFont = heading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.6);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    QPalette headingPalette = heading->palette();
    headingPalette.setColor(QPalette::WindowText, Qt::white);
    heading->setPalette(headingPalette);

    staticText(
        QStringLiteral("Thank you for installing Tavrin for Windows, please now set up the default settings "
                       "for Tavrin to use."),
        this, QRect(18, kHeaderHeight + 8, kWidth - 36, 36), true);
    horizontalRule(this, 102);
    staticText(QStringLiteral("Who would you like to be able to use this version of Tavrin?"), this,
               QRect(18, 110, kWidth - 36, 18));
    meOnlyButton_ = new QRadioButton(QStringLiteral("Me Only"), this);
    meOnlyButton_->setGeometry(36, 132, kWidth - 54, 20);
    everyoneButton_ = new QRadioButton(QStringLiteral("All Who Use This Computer"), this);
    everyoneButton_->setGeometry(36, 154, kWidth - 54, 20);
    // Settings for everyone live in a folder that, as a rule, only an administrator may write: a user
    // who cannot write there starts on their own settings, where "Finish!" works, and sees why. The
    // other choice stays open to whoever can write there after all.
    if (app_.store.canWrite(Root::LocalMachine)) {
        everyoneButton_->setChecked(true);
    } else {
        meOnlyButton_->setChecked(true);
        everyoneButton_->setText(everyoneButton_->text() + QStringLiteral(" (needs administrator rights)"));
    }
    horizontalRule(this, 184);

    staticText(QStringLiteral("Windows Color Scheme:"), this, QRect(18, 192, 300, 18));
    for (int i = 0; i < 3; ++i) {
        auto* combo = new QComboBox(this);
        const auto which = static_cast<SetupList>(i);
        for (const std::string& item : InitialSetup::items(which))
            combo->addItem(QString::fromStdString(item));
        combo->setPlaceholderText(QString::fromLatin1(InitialSetup::placeholder(which)));
        combo->setCurrentIndex(-1);
        connect(combo, &QComboBox::activated, this, [this, which](int item) { chooseScheme(which, item); });
        schemeBoxes_[static_cast<std::size_t>(i)] = combo;
    }
    schemeBox(SetupList::Windows)->setGeometry(36, 214, 240, 24);
    schemeBox(SetupList::Windows)->setEditable(true);
    schemeBox(SetupList::Windows)->setInsertPolicy(QComboBox::NoInsert);
    schemeBox(SetupList::Windows)
        ->setEditText(QString::fromLatin1(InitialSetup::placeholder(SetupList::Windows)));
    connect(schemeBox(SetupList::Windows)->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& text) {
                setup_.type(text.toStdString());
                syncLists();
            });
    schemeBox(SetupList::XpSchemes)->setGeometry(36, 244, 180, 24);
    schemeBox(SetupList::NinexSchemes)->setGeometry(224, 244, 180, 24);

    staticText(QStringLiteral("Background Image: (for menus, etc...)"), this, QRect(18, 280, 300, 18));
    picturePreview_ = new QLabel(this);
    picturePreview_->setGeometry(36, 302, 128, 80);
    picturePreview_->setFrameShape(QFrame::Box);
    picturePreview_->setFrameShadow(QFrame::Sunken);
    picturePreview_->setScaledContents(true);
    picturePreview_->setAttribute(Qt::WA_TransparentForMouseEvents);

    browseLink_ = new ClickLabel(QStringLiteral("Browse"), this, [this] { browse(); });
    browseLink_->setGeometry(176, 302, 80, 20);
    QFont linkFont = browseLink_->font();
    linkFont.setUnderline(true);
    browseLink_->setFont(linkFont);
    QPalette linkPalette = browseLink_->palette();
    linkPalette.setColor(QPalette::WindowText, palette().color(QPalette::Link));
    browseLink_->setPalette(linkPalette);

    finishLink_ = new ClickLabel(QStringLiteral("Finish!"), this, [this] { finish(); });
    finishLink_->setGeometry(kWidth - 112, kHeight - 42, 92, 28);
    finishLink_->setAlignment(Qt::AlignCenter);
    finishLink_->setFrameShape(QFrame::Panel);
    finishLink_->setFrameShadow(QFrame::Raised);
    finishLink_->setLineWidth(2);
    QFont finishFont = finishLink_->font();
    finishFont.setBold(true);
    finishLink_->setFont(finishFont);

    syncLists();
    centreOnScreen(*this);
}

void frmInitSetup::syncLists() {
    for (int i = 0; i < 3; ++i) {
        QComboBox* combo = schemeBoxes_[static_cast<std::size_t>(i)];
        const SetupListState& state = setup_.list(static_cast<SetupList>(i));
        const QSignalBlocker quiet(combo);
        combo->setEnabled(state.enabled);
        if (state.index >= 0 && combo->currentIndex() != state.index) combo->setCurrentIndex(state.index);
        if (i == 0 && combo->currentText() != QString::fromStdString(state.text)) {
            combo->setEditText(QString::fromStdString(state.text));
        }
    }
}

void frmInitSetup::chooseScheme(SetupList which, int item) {
    const bool custom = setup_.choose(which, item);
    syncLists();
    if (!custom) return;
    const ColorChoice choice = dialogs_.showColor(this, true);
    if (!choice.cancelled) setup_.setCustomColour(choice.colour);
}

void frmInitSetup::finish() {
    const SetupUsers users = meOnlyButton_->isChecked() ? SetupUsers::MeOnly : SetupUsers::Everyone;
    const std::uint32_t buttonFace = colourNumberOf(palette().color(QPalette::Button));
    const SetupResult result = finishSetup(app_.store, app_.settings, setup_, users, buttonFace);
    syncLists();
    if (result.noScheme) {
        app_.asker.tell("Tavrin", "No Color Scheme Set!", MessageIcon::Stop);
    }
    if (!result.stored) {
        // The reason follows the warning, so the user can do something about it.
        app_.asker.tell("Tavrin Error Message",
                        "Warning! An error occured whilst trying to create preferences\n\n" +
                            result.stored.message() + ".",
                        MessageIcon::None);
        return;
    }
    finished_ = true;
    if (onFinished_) onFinished_();
    close();
}

void frmInitSetup::browse() {
    OpenRequest request;
    request.title = "Show Open";
    request.filter = {
        {"JPEG Image (*.JPG)", "*.jpg"}, {"Bitmap Image (*.BMP)", "*.bmp"}, {"All Files (*.*)", "*.*"}};
    request.initialDirectory = QCoreApplication::applicationDirPath().toStdString() + "/";
    const FileSelection chosen = dialogs_.showOpen(this, request, true);
    if (chosen.count <= 0) return;
    app_.settings.BGPicture = chosen.firstPath();
    picturePreview_->setPixmap(QPixmap(QString::fromStdString(app_.settings.BGPicture)));
}

void frmInitSetup::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient band(0, 0, kWidth, 0);
    band.setColorAt(0, QColor(18, 70, 160));
    band.setColorAt(1, QColor(70, 140, 225));
    p.fillRect(0, 0, kWidth, kHeaderHeight, band);
    p.setPen(QPen(palette().color(QPalette::Dark), 1));
    p.drawRect(0, 0, kWidth - 1, kHeight - 1);
    p.setPen(QPen(palette().color(QPalette::Light), 1));
    p.drawRect(1, 1, kWidth - 3, kHeight - 3);
}

void frmInitSetup::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void frmInitSetup::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - dragOffset_);
}

void frmInitSetup::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
}

void frmInitSetup::keyPressEvent(QKeyEvent* event) {
    // No key closes the dialog: the settings must be made before the clock can start.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmInitSetup::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    // Closed by the window manager before "Finish!": nothing was written and there is no clock to
    // keep the program alive, so it ends here (the program does not quit on its last window).
    if (!finished_) QCoreApplication::quit();
}

}  // namespace tavrin
