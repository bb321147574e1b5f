#include "ui/clock/frmClock.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSocketNotifier>

#include <cmath>

#include "core/base/Twips.h"
#include "core/clock/ClockTexts.h"
#include "core/clock/TickPace.h"
#include "core/clock/WeekdayLine.h"
#include "core/settings/ColourScheme.h"
#include "core/settings/PanelOffset.h"
#include "core/settings/Settings.h"
#include "core/timezones/FormatPattern.h"
#include "ui/clock/QtStickyWindow.h"

namespace tavrin {

namespace {

PixelRect pixelRectOf(const QRect& r) {
    return PixelRect{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

QRect qRectOf(const PixelRect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

// The toolkit's screens as monitors, and the strips each screen keeps free of windows as its panels:
// what stands in for the window system's own account where there is none to ask.
DesktopLayout layoutOfScreens() {
    DesktopLayout layout;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const PixelRect all = pixelRectOf(screen->geometry());
        const PixelRect free = pixelRectOf(screen->availableGeometry());
        layout.monitors.push_back(Monitor{all, screen == primary});
        const PixelRect strips[] = {{all.left, free.bottom, all.right, all.bottom},
                                    {all.left, all.top, all.right, free.top},
                                    {free.right, all.top, all.right, all.bottom},
                                    {all.left, all.top, free.left, all.bottom}};
        for (const PixelRect& strip : strips)
            if (!strip.empty()) layout.docks.push_back(DockWindow{strip, true});
    }
    return layout;
}

// To a screen reader the clock is a text, the time and date it shows, not an empty pane.
QAccessibleInterface* clockInterface(const QString& className, QObject* object) {
    if (className != QLatin1String("tavrin::frmClock") || !object->isWidgetType()) return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::StaticText);
}

// How far a drag from `from` to `to` moves the clock away from the panel's end.
int dragAlong(PanelEdge edge, const QPoint& from, const QPoint& to) {
    return isSidePanel(edge) ? from.y() - to.y() : from.x() - to.x();
}

}  // namespace

frmClock::frmClock(AppState& app, std::string applicationDirectory, DesktopWatch* desktop,
                   WallClockWatch* wallClock, QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      app_(app),
      appDir_(std::move(applicationDirectory)),
      desktop_(desktop),
      surfaceStyle_(initialSurfaceStyle()),
      wallClock_(wallClock) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    // The frame covers the whole window, so nothing needs clearing before it is painted.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setWindowTitle(QStringLiteral("Tavrin"));
    static const bool readAsText = [] {
        QAccessible::installFactory(clockInterface);
        return true;
    }();
    (void)readAsText;
    setAccessibleDescription(QStringLiteral("Press for the world times, the calendar, the alarm and more"));

    dockOnPanel();
    loadSchemeImages();

    tickTimer_.setSingleShot(true);
    tickTimer_.setTimerType(Qt::PreciseTimer);
    connect(&tickTimer_, &QTimer::timeout, this, &frmClock::clockTick);
    watchWallClock();
    followScreens();
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, [this] {
        followScreens();
        refreshArea();
    });
    watchDesktop();

    // The first frame is ready before the window is shown. The surface measures the first frame in its
    // own font and every later one in the font of the date line it printed last; composing twice here
    // means the frame shown first is already the steady one, not one that shifts a second later.
    fillOwnTexts();
    mainLoopStep();
    mainLoopStep();
    armTick();
}

frmClock::~frmClock() = default;

void frmClock::dockOnPanel() {
    dockTopPixels_ = pixelsFromTwips(dockTopOffsetTwips(kPlatformId));
    if (desktop_) desktop_->setOwnWindow(winId());
    readDesktop();
    // Asked before the window is first mapped, so the window manager places it on every desktop at once.
    makeStickyDockBeforeMap(*this);
}

void frmClock::readDesktop() {
    // The window system counts the screen's own pixels; the window is placed in the toolkit's, which
    // are larger on a scaled-up screen.
    layout_ = desktop_ ? scaledDown(desktop_->layout(), devicePixelRatioF()) : layoutOfScreens();
    placeOnSpot();
}

void frmClock::placeOnSpot() {
    spot_ = findPanelSpot(layout_, app_.settings.PanelOffset);
    trayArea_ = spot_.area;
    const PixelRect w = dockedWindowRect(trayArea_, dockTopPixels_, kSurfaceWidth, kSurfaceHeight);
    const QRect place = qRectOf(w);
    if (place == placed_ && geometry() == place) return;
    placed_ = place;
    setGeometry(placed_);
}

void frmClock::moveAlongPanel(int offset) {
    app_.settings.PanelOffset = std::clamp(offset, 0, kMaxPanelOffset);
    placeOnSpot();
    mainLoopStep();
}

QRect frmClock::availableRect() const {
    return qRectOf(spot_.available);
}

void frmClock::watchDesktop() {
    if (!desktop_ || desktop_->eventDescriptor() < 0) return;
    desktopSettle_.setSingleShot(true);
    desktopSettle_.setInterval(30);
    connect(&desktopSettle_, &QTimer::timeout, this, &frmClock::desktopNews);
    desktopNotifier_ = new QSocketNotifier(desktop_->eventDescriptor(), QSocketNotifier::Read, this);
    connect(desktopNotifier_, &QSocketNotifier::activated, this, [this] {
        if (desktopSettle_.isActive()) return;
        sinceNews_.start();
        desktopSettle_.start();
    });
}

void frmClock::desktopNews() {
    const DesktopNews news = desktop_->takeNews();
    if (news.layout) {
        raisesAsked_ = 0;
        readDesktop();
        mainLoopStep();
    }
    if (news.any()) keepAbovePanels();
    // What arrived with the answers read meanwhile will not wake the descriptor again.
    if (desktop_->newsWaiting() && !desktopSettle_.isActive()) {
        sinceNews_.start();
        desktopSettle_.start();
    }
}

void frmClock::keepAbovePanels() {
    if (!isVisible() || !desktop_->panelAboveOwnWindow()) return;
    constexpr int kRaisesPerChange = 3;
    if (raisesAsked_ >= kRaisesPerChange) return;
    ++raisesAsked_;
    desktop_->raiseOwnWindow();
    emit raisedAbovePanel(sinceNews_.isValid() ? sinceNews_.elapsed() : 0);
}

void frmClock::followScreens() {
    // Listen to whichever screen is primary now, and to it alone.
    if (watchedScreen_) disconnect(watchedScreen_, nullptr, this, nullptr);
    watchedScreen_ = QGuiApplication::primaryScreen();
    if (!watchedScreen_) return;
    connect(watchedScreen_, &QScreen::geometryChanged, this, &frmClock::refreshArea);
    connect(watchedScreen_, &QScreen::availableGeometryChanged, this, &frmClock::refreshArea);
}

void frmClock::refreshArea() {
    mainLoopStep();
}

QRect frmClock::trayRect() const {
    return QRect(trayArea_.left, trayArea_.top, trayArea_.width(), trayArea_.height());
}

void frmClock::loadSchemeImages() {
    std::array<QImage, 3> loaded;
    const bool ok =
        loadSchemePictures(app_.settings.ColScheme, appDir_, [&](int slot, const std::string& path) {
            QImage image(QString::fromStdString(path));
            if (image.isNull()) return false;
            // Pictures are drawn in the frame's own pixel format, the cheapest copy there is.
            loaded[static_cast<std::size_t>(slot)] = image.convertToFormat(QImage::Format_RGB32);
            return true;
        });
    if (ok) {
        layers_ = std::move(loaded);
        ++picturesLoaded_;
    }
    schemeHasImages_ = ok;
}

void frmClock::setClockTick(std::function<void()> tick) {
    clockTickHook_ = std::move(tick);
}

void frmClock::setTexts(std::string timeText, std::string dateText) {
    timeText_ = std::move(timeText);
    dateText_ = std::move(dateText);
}

void frmClock::fillOwnTexts() {
    ClockTexts texts = clockTextsAt(app_.clock.localNow(), app_.settings);
    timeText_ = std::move(texts.timeText);
    dateText_ = std::move(texts.dateText);
}

void frmClock::clockTick() {
    // Armed before the tick's work: that work may hold a question open in a nested event loop for as
    // long as the user takes to answer, and meanwhile the clock must go on showing the time and the
    // alarm on ringing. The work itself refuses what must not run twice at once.
    armTick();
    if (clockTickHook_) {
        clockTickHook_();
    } else {
        fillOwnTexts();
    }
    mainLoopStep();
}

void frmClock::armTick() {
    // Nothing but shown seconds needs a tick inside a minute: the reminder check, the alarm and the
    // warning compare whole minutes, and a tick just after the minute turns sees its second 0.
    const std::int64_t now = app_.clock.unixMillis();
    tickPace_ = clockTickPace(app_.settings);
    nextTickAt_ = tavrin::nextTickAt(now, tickPace_);
    // The watch's timer keeps wall time through a suspend and is cancelled when the clock is set;
    // the plain timer counts the time the machine was awake, so a resume shows late by what was left.
    const Result armed = wallClock_ ? wallClock_->armAt(nextTickAt_) : Result<>::failure({});
    // The plain timer takes over from a watch that refuses; why is logged once while it lasts.
    wallClockFailures_.note(armed);
    wallClockArmed_ = armed.ok();
    if (wallClockArmed_) {
        tickTimer_.stop();
    } else {
        tickTimer_.start(static_cast<int>(nextTickAt_ - now));
    }
}

void frmClock::watchWallClock() {
    if (!wallClock_ || wallClock_->eventDescriptor() < 0) {
        wallClock_ = nullptr;
        return;
    }
    wallClockNotifier_ = new QSocketNotifier(wallClock_->eventDescriptor(), QSocketNotifier::Read, this);
    connect(wallClockNotifier_, &QSocketNotifier::activated, this, &frmClock::wallClockNews);
}

void frmClock::wallClockNews() {
    const WallClockNews news = wallClock_->takeNews();
    if (!news.any()) return;
    // Every news is a tick now, which arms the next from the new time (a set clock spends the
    // timer). After a sleep or a clock set forward, that tick announces the minutes that were skipped.
    clockTick();
    if (news.clockSet || news.zoneChanged) emit wallClockChanged();
}

void frmClock::applySettings() {
    fillOwnTexts();
    // The place on the panel may have changed with the rest.
    placeOnSpot();
    mainLoopStep();
    // A time format that gains or loses its seconds changes the pace at once.
    if (clockTickPace(app_.settings) != tickPace_) armTick();
}

FaceInputs frmClock::currentInputs() {
    const Settings& s = app_.settings;
    FaceInputs in;
    in.trayWidth = trayArea_.width();
    in.trayHeight = trayArea_.height();
    in.shownHeight = placed_.height();
    in.timeText = timeText_;
    in.dateText = dateText_;
    in.timeFormat = s.TimeFormat;
    if (!weekdayKnown_ || weekdayOf_ != dateText_ || weekdayFormat_ != s.DateFormat) {
        weekday_ = weekdayLine(dateText_, s.DateFormat, app_.clock.localNow(), s.calendarNames);
        weekdayOf_ = dateText_;
        weekdayFormat_ = s.DateFormat;
        weekdayKnown_ = true;
    }
    in.weekdayText = weekday_;
    in.timeStyle = timeStyle(s);
    in.dateStyle = dateStyle(s);
    in.measureStyle = surfaceStyle_;
    in.schemeHasImages = schemeHasImages_;
    for (std::size_t i = 0; i < 3; ++i) {
        in.layers[i] = schemeHasImages_ ? ImageSize{layers_[i].width(), layers_[i].height()} : ImageSize{};
    }
    return in;
}

void frmClock::mainLoopStep() {
    const Settings& s = app_.settings;
    if (endsInAmPm(s.TimeFormat))
        timeText_ = formatPattern(app_.clock.localNow(), s.TimeFormat, s.calendarNames);

    // The window system's watcher says when panels change; without one the screens are read again.
    if (!desktop_) {
        DesktopLayout layout = layoutOfScreens();
        if (layout != layout_) {
            layout_ = std::move(layout);
            placeOnSpot();
        }
    }
    trayTopTwips_ = static_cast<int>(twipsFromPixels(trayArea_.top));

    FrameKey key{currentInputs(), s.ColScheme, picturesLoaded_};
    if (lastKey_ && *lastKey_ == key) return;

    const FaceInputs& in = key.inputs;
    const FaceLayout layout = layoutFace(in, metrics_);
    const QSize size(std::min(in.trayWidth, kSurfaceWidth), std::min(in.trayHeight, kSurfaceHeight));
    if (frame_.size() != size) frame_ = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    composeFace(frame_, colourOfText(s.ColScheme), layout, layers_, metrics_);
    ++compositions_;
    surfaceStyle_ = layout.lastStyle;
    lastKey_ = std::move(key);
    updateAccessibleName();
    update();
}

void frmClock::updateAccessibleName() {
    // What a screen reader says for the clock: the time, the weekday and the date as drawn.
    std::string name = timeText_;
    for (const std::string* part : {weekday_ ? &*weekday_ : nullptr, &dateText_})
        if (part && !part->empty()) name += (name.empty() ? "" : ", ") + *part;
    const QString text = QString::fromStdString(name);
    if (accessibleName() != text) setAccessibleName(text);
}

void frmClock::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, frame_);
    if (!firstFramePainted_) {
        firstFramePainted_ = true;
        emit firstFramePainted();
    }
}

void frmClock::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!stickyAsked_) {
        stickyAsked_ = true;
        makeStickyAfterMap(*this);
    }
}

void frmClock::openMenu() {
    menu_.press([this] {
        if (menuHook_) menuHook_();
    });
}

void frmClock::mousePressEvent(QMouseEvent* event) {
    event->accept();
    // Ctrl with the left button moves the clock along its panel; any other press opens the menu.
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier) &&
        spot_.edge != PanelEdge::None) {
        dragging_ = true;
        dragStart_ = event->globalPosition().toPoint();
        dragStartOffset_ = spot_.offset;
        return;
    }
    openMenu();
}

void frmClock::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!dragging_) return;
    PanelSpot from = spot_;
    from.offset = dragStartOffset_;
    const int offset =
        offsetMovedBy(from, dragAlong(spot_.edge, dragStart_, event->globalPosition().toPoint()));
    if (offset != spot_.offset) moveAlongPanel(offset);
}

void frmClock::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!dragging_ || event->button() != Qt::LeftButton) return;
    dragging_ = false;
    if (spot_.offset == dragStartOffset_) return;
    const Result kept = storePanelOffset(app_.store, app_.settings, spot_.offset);
    if (!kept.ok()) app_.asker.tell("Tavrin System Message", kept.message(), MessageIcon::Warning);
}

void frmClock::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is a press too; it opens nothing while the menu is up.
    openMenu();
    startDateTimeSettings();
    event->accept();
}

void frmClock::startDateTimeSettings() {
    const Result started = app_.shell.startDateTimeSettings();
    if (!started.ok()) app_.asker.tell("Tavrin System Message", started.message(), MessageIcon::Information);
}

void frmClock::closeEvent(QCloseEvent* event) {
    // Closing the clock ends the program.
    event->accept();
    QCoreApplication::quit();
}

}  // namespace tavrin
