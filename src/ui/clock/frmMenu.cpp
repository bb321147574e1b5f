#include "ui/clock/frmMenu.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>
#include <QWindow>

#include "core/base/Twips.h"
#include "core/clock/MenuScrub.h"
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
const QColor kWorkingTint(120, 200, 120, 110);
const QColor kHeaderShade(255, 255, 255, 140);

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
    menu_ = prepareMenuLines(app.store, app.settings, app.zones, utc_);

    QPalette ink = palette();
    ink.setColor(QPalette::WindowText, qColorOfText(app.settings.WForeColor));
    const QFont font = tahomaFont(8.25);
    lineLabels_.reserve(menu_.lines.size());
    for (const MenuLine& line : menu_.lines) {
        auto* label = new QLabel(QString::fromStdString(line.caption), this);
        label->setFont(font);
        label->setPalette(ink);
        label->setWordWrap(false);
        // The tool tip (the zone's offset and its next clock change) is worked out when it is asked for.
        label->installEventFilter(this);
        lineLabels_.push_back(label);
    }

    for (int i = 0; i < kMenuButtonCount; ++i) {
        const QString file =
            QString::fromStdString(applicationDirectory) + QStringLiteral("/Images/menu_button%1.gif").arg(i);
        auto* button = new PictureButton(QPixmap(file), QString::fromLatin1(kButtonNames[i]), this);
        button->setToolTip(QString::fromLatin1(kButtonTips[i]));
        connect(button, &QAbstractButton::clicked, this,
                [this, i] { clickButton(static_cast<MenuButton>(i)); });
        buttons_[static_cast<std::size_t>(i)] = button;
    }

    loadBackground();
    placeParts();

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

void frmMenu::placeParts() {
    int widest = 0;
    for (QLabel* label : lineLabels_)
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(label->text()) + 2);
    if (headerShown())
        widest = std::max(widest, header_->fontMetrics().horizontalAdvance(header_->text()) + 2);
    // As wide as the longest line, within the room beside the panel; while the time moves the menu
    // only grows, so it does not twitch with every step.
    const PanelSpot& spot = clock_ ? clock_->panelSpot() : PanelSpot{};
    const PixelRect room = spot.available.empty() ? spot.monitor : spot.available;
    widthTwips_ = std::max(
        widthTwips_,
        menuWidthFor(static_cast<int>(twipsFromPixels(widest)),
                     room.empty() ? kMenuWidthTwips : static_cast<int>(twipsFromPixels(room.width()))));
    const int width = widthTwips_;
    layout_ = layoutMenu(static_cast<int>(menu_.lines.size()), width, headerShown());
    const auto lineRect = [&](int top) {
        return QRect(px(kMenuLineLeftTwips), px(top), px(width) - px(kMenuLineLeftTwips),
                     px(kMenuLineHeightTwips));
    };
    for (std::size_t i = 0; i < lineLabels_.size(); ++i)
        lineLabels_[i]->setGeometry(lineRect(layout_.lineTops[i]));
    if (layout_.headerTop >= 0) header_->setGeometry(lineRect(layout_.headerTop));
    for (std::size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->setGeometry(pixelRect(layout_.buttons[i]));
    if (!clock_) return;
    const PixelRect at = placeBesidePanel(spot, pixelRectOf(clock_->placedRect()), px(width),
                                          px(layout_.height), px(kMenuGapTwips));
    setGeometry(QRect(at.left, at.top, at.width(), at.height()));
}

bool frmMenu::headerShown() const {
    return header_ && !header_->isHidden();
}

void frmMenu::scrubTo(std::int64_t offset) {
    scrubOffset_ = offset;
    const DateTime at = shownUtc();
    retimeMenuLines(menu_, app_.settings, app_.zones, at);
    for (std::size_t i = 0; i < lineLabels_.size(); ++i) {
        lineLabels_[i]->setText(QString::fromStdString(menu_.lines[i].caption));
        // The tool tip speaks of the moment shown; it is worked out again when asked for.
        lineLabels_[i]->setToolTip(QString());
    }
    const std::string header =
        scrubHeaderText(offset, zoneTimeNow(at, app_.zones.HomeZone, *app_.zones.zoneCache),
                        app_.settings.TZFormat, app_.settings.calendarNames);
    if (!header_) {
        // Made at the first move, so a menu that is only looked at holds no hidden line.
        header_ = new QLabel(this);
        header_->setFont(lineLabels_.empty() ? tahomaFont(8.25, true) : lineLabels_[0]->font());
        QFont bold = header_->font();
        bold.setBold(true);
        header_->setFont(bold);
        header_->setPalette(lineLabels_.empty() ? palette() : lineLabels_[0]->palette());
        header_->setToolTip(QStringLiteral("Click or press Home to return to now"));
        header_->installEventFilter(this);
    }
    header_->setText(QString::fromStdString(header));
    header_->setVisible(!header.empty() && !lineLabels_.empty());
    placeParts();
    update();
}

QString frmMenu::copyMoment(std::size_t line) {
    const QString text =
        QString::fromStdString(meetingText(menu_, line, shownUtc(), app_.settings.calendarNames));
    if (!text.isEmpty()) QGuiApplication::clipboard()->setText(text);
    return text;
}

void frmMenu::wheelEvent(QWheelEvent* event) {
    // Some systems turn a wheel held with Shift into a sideways one.
    const QPoint angle = event->angleDelta();
    wheelAngle_ += angle.y() != 0 ? angle.y() : angle.x();
    const int steps = wheelAngle_ / QWheelEvent::DefaultDeltasPerStep;
    wheelAngle_ %= QWheelEvent::DefaultDeltasPerStep;
    const Qt::KeyboardModifiers keys = event->modifiers();
    if (steps != 0)
        scrubTo(scrubOffset_ +
                steps * scrubStepSeconds(keys & Qt::ShiftModifier, keys & Qt::ControlModifier));
    event->accept();
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
        label->setToolTip(QString::fromStdString(
            zoneChangeText(menu_.lines.at(line).zone, shownUtc(), *app_.zones.zoneCache)));
    return label->toolTip();
}

bool frmMenu::eventFilter(QObject* watched, QEvent* event) {
    // The wheel over any line moves the time, however the turn reached the line.
    if (event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    if (event->type() == QEvent::ToolTip) {
        for (std::size_t i = 0; i < lineLabels_.size(); ++i)
            if (watched == lineLabels_[i]) lineToolTip(i);
        return QWidget::eventFilter(watched, event);
    }
    return QWidget::eventFilter(watched, event);
}

void frmMenu::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (rect().contains(at)) {
        if (headerShown() && header_->geometry().contains(at) && event->button() == Qt::LeftButton)
            scrubTo(0);
        for (std::size_t i = 0; i < lineLabels_.size(); ++i)
            if (event->button() == Qt::RightButton && lineLabels_[i]->geometry().contains(at)) copyMoment(i);
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
    const Qt::KeyboardModifiers keys = event->modifiers();
    const std::int64_t step = scrubStepSeconds(keys & Qt::ShiftModifier, keys & Qt::ControlModifier);
    if (event->key() == Qt::Key_Up) return scrubTo(scrubOffset_ + step);
    if (event->key() == Qt::Key_Down) return scrubTo(scrubOffset_ - step);
    if (event->key() == Qt::Key_Home) return scrubTo(0);
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
    // A line whose zone is at work at the moment shown, so a time that suits everyone shows as a
    // block; the header stands out from the lines in a light shade of its own.
    for (std::size_t i = 0; i < lineLabels_.size(); ++i)
        if (menu_.lines[i].workingTime)
            p.fillRect(QRect(1, px(layout_.lineTops[i]), width() - 2, px(kMenuLineStepTwips)), kWorkingTint);
    if (layout_.headerTop >= 0)
        p.fillRect(QRect(1, 1, width() - 2, px(kMenuLineStepTwips) - 1), kHeaderShade);
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
