#include "ui/clock/frmMenu.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "core/base/Twips.h"
#include "core/timezones/ZoneChanges.h"
#include "core/timezones/ZoneTime.h"
#include "ui/clock/frmClock.h"
#include "ui/utilities/PictureButton.h"
#include "ui/utilities/QtColour.h"
#include "ui/utilities/QtTahoma.h"

namespace tavrin {
namespace {

constexpr const char* kButtonTips[kMenuButtonCount] = {"Calendar",       "Alarm",       "Stopwatch",
                                                       "Floating Clock", "Preferences", ""};
// What a screen reader calls each button; the last has no tool tip.
constexpr const char* kButtonNames[kMenuButtonCount] = {"Calendar",       "Alarm",       "Stopwatch",
                                                        "Floating Clock", "Preferences", "End Tavrin"};
// The menu's own face under the lines when no background picture is set.
const QColor kMenuFace(236, 233, 216);

int px(std::int64_t twips) {
    return pixelsFromTwips(twips);
}

QRect pixelRect(const TwipsRect& r) {
    return QRect(px(r.left), px(r.top), px(r.width), px(r.height));
}

PixelRect pixelRectOf(const QRect& r) {
    return PixelRect{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

}  // namespace

frmMenu::frmMenu(AppState& app, frmClock& clock, MenuActions actions, const std::string& applicationDirectory)
    : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint),
      app_(app),
      clock_(&clock),
      actions_(std::move(actions)) {
    sincePress_.start();
    setAttribute(Qt::WA_DeleteOnClose);
    // A press outside closes the menu and goes no further: a press on the clock must not open the
    // next menu at once.
    setAttribute(Qt::WA_NoMouseReplay);
    // A popup is not the active window in the toolkit's sense; its tool tips show all the same.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setWindowTitle(QStringLiteral("Tavrin Menu"));

    utc_ = utcNow(app.clock);
    lines_ = prepareMenuLines(app.store, app.settings, app.zones, utc_).lines;

    QPalette ink = palette();
    ink.setColor(QPalette::WindowText, qColorOfText(app.settings.WForeColor));
    const QFont font = tahomaFont(8.25);
    const QFontMetrics measure(font);
    int widest = 0;
    lineLabels_.reserve(lines_.size());
    for (const MenuLine& line : lines_) {
        auto* label = new QLabel(QString::fromStdString(line.caption), this);
        label->setFont(font);
        label->setPalette(ink);
        label->setWordWrap(false);
        widest = std::max(widest, measure.horizontalAdvance(label->text()) + 2);
        // The tool tip (the zone's offset and its next clock change) is worked out when it is asked for.
        label->installEventFilter(this);
        lineLabels_.push_back(label);
    }
    // As wide as the longest line, within the room beside the panel.
    const PanelSpot& spot = clock.panelSpot();
    const PixelRect room = spot.available.empty() ? spot.monitor : spot.available;
    const int width =
        menuWidthFor(static_cast<int>(twipsFromPixels(widest)),
                     room.empty() ? kMenuWidthTwips : static_cast<int>(twipsFromPixels(room.width())));
    layout_ = layoutMenu(static_cast<int>(lines_.size()), width);
    for (std::size_t i = 0; i < lineLabels_.size(); ++i)
        lineLabels_[i]->setGeometry(px(kMenuLineLeftTwips), px(layout_.lineTops[i]),
                                    px(width) - px(kMenuLineLeftTwips), px(kMenuLineHeightTwips));

    for (int i = 0; i < kMenuButtonCount; ++i) {
        const QString file =
            QString::fromStdString(applicationDirectory) + QStringLiteral("/Images/menu_button%1.gif").arg(i);
        auto* button = new PictureButton(QPixmap(file), QString::fromLatin1(kButtonNames[i]), this);
        button->setGeometry(pixelRect(layout_.buttons[static_cast<std::size_t>(i)]));
        button->setToolTip(QString::fromLatin1(kButtonTips[i]));
        connect(button, &QAbstractButton::clicked, this,
                [this, i] { clickButton(static_cast<MenuButton>(i)); });
        buttons_[static_cast<std::size_t>(i)] = button;
    }

    loadBackground();

    const PixelRect at = placeBesidePanel(spot, pixelRectOf(clock.placedRect()), px(width),
                                          px(layout_.height), px(kMenuGapTwips));
    setGeometry(QRect(at.left, at.top, at.width(), at.height()));

    // Another window or program taking over closes the menu, as a press elsewhere does.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive && isVisible()) close();
    });
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focus) {
        if (focus && focus != windowHandle() && isVisible()) close();
    });
}

frmMenu::~frmMenu() {
    releaseClock();
}

void frmMenu::loadBackground() {
    background_ = QImage();
    if (app_.settings.BGPicture.empty()) return;
    // A picture that cannot be read leaves the plain face.
    background_ = QImage(QString::fromStdString(app_.settings.BGPicture));
}

void frmMenu::popUp() {
    show();
}

void frmMenu::releaseClock() {
    if (clock_) clock_->setMenuShown(false);
    clock_ = nullptr;
}

const std::function<void()>& frmMenu::actionOf(MenuButton button) const {
    switch (button) {
        case MenuButton::Calendar:
            return actions_.openCalendar;
        case MenuButton::Alarm:
            return actions_.openAlarm;
        case MenuButton::Stopwatch:
            return actions_.openStopwatch;
        case MenuButton::FloatingClock:
            return actions_.openFloatingClock;
        case MenuButton::Preferences:
            return actions_.openPreferences;
        case MenuButton::EndProgram:
            return actions_.endProgram;
    }
    return actions_.endProgram;
}

void frmMenu::clickButton(MenuButton button) {
    // The menu is gone before the chosen window comes up (it is deleted later, so this still runs).
    const std::function<void()> action = actionOf(button);
    close();
    if (action) action();
}

QString frmMenu::lineToolTip(std::size_t line) {
    QLabel* label = lineLabels_.at(line);
    if (label->toolTip().isEmpty())
        label->setToolTip(
            QString::fromStdString(zoneChangeText(lines_.at(line).zone, utc_, *app_.zones.zoneCache)));
    return label->toolTip();
}

bool frmMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        for (std::size_t i = 0; i < lineLabels_.size(); ++i)
            if (watched == lineLabels_[i]) lineToolTip(i);
        return QWidget::eventFilter(watched, event);
    }
    return QWidget::eventFilter(watched, event);
}

void frmMenu::mousePressEvent(QMouseEvent* event) {
    if (rect().contains(event->position().toPoint())) {
        event->accept();
        return;
    }
    // A press outside. When it is the second press of a double click on the clock, the clock's double
    // click still opens the date and time settings.
    const QPoint global = event->globalPosition().toPoint();
    if (clock_ && clock_->placedRect().contains(global) &&
        sincePress_.elapsed() <= QApplication::doubleClickInterval())
        clock_->startDateTimeSettings();
    close();
    event->accept();
}

void frmMenu::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmMenu::closeEvent(QCloseEvent* event) {
    releaseClock();
    event->accept();
}

void frmMenu::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int separator = px(layout_.separatorTop);
    p.fillRect(rect(), kMenuFace);
    if (!background_.isNull() && separator > 0) p.drawImage(QRect(0, 0, width(), separator), background_);
    // The separator: a dark line with a light one under it.
    p.setPen(QColor(172, 168, 153));
    p.drawLine(0, separator, width() - 1, separator);
    p.setPen(Qt::white);
    p.drawLine(0, separator + 1, width() - 1, separator + 1);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!paintedOnce_) {
        paintedOnce_ = true;
        emit painted();
    }
}

}  // namespace tavrin
