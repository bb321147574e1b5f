#include "ui/clock/frmClock.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <cmath>

#include "core/base/Twips.h"
#include "core/clock/ClockTexts.h"
#include "core/clock/NextTick.h"
#include "core/clock/WeekdayLine.h"
#include "core/settings/ColourScheme.h"
#include "core/settings/Settings.h"
#include "core/timezones/FormatPattern.h"
#include "ui/clock/QtStickyWindow.h"

namespace tavrin {

namespace {

PixelRect pixelRectOf(const QRect& r) {
    return PixelRect{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

}  // namespace

frmClock::frmClock(AppState& app, std::string applicationDirectory, QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      app_(app),
      appDir_(std::move(applicationDirectory)),
      surfaceStyle_(initialSurfaceStyle()) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    // The frame covers the whole window, so nothing needs clearing before it is painted.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setWindowTitle(QStringLiteral("Tavrin"));

    setFS();
    LoadSchemeImages();

    secondTimer_.setSingleShot(true);
    secondTimer_.setTimerType(Qt::PreciseTimer);
    connect(&secondTimer_, &QTimer::timeout, this, &frmClock::secondTick);
    followScreens();
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, [this] {
        followScreens();
        refreshArea();
    });

    // The first frame is ready before the window is shown. The surface measures the first frame in its
    // own font and every later one in the font of the date line it printed last; composing twice here
    // means the frame shown first is already the steady one, not one that shifts a second later.
    fillOwnTexts();
    mainLoopStep();
    mainLoopStep();
    armSecondTimer();
}

frmClock::~frmClock() = default;

void frmClock::setFS() {
    dockTopPixels_ = pixelsFromTwips(dockTopOffsetTwips(kPlatformId));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        TrayRect_ = trayAreaRect(pixelRectOf(screen->geometry()), pixelRectOf(screen->availableGeometry()));
    }
    const PixelRect w = dockedWindowRect(TrayRect_, dockTopPixels_, kSurfaceWidth, kSurfaceHeight);
    placed_ = QRect(w.left, w.top, w.width(), w.height());
    setGeometry(placed_);
    // Asked before the window is first mapped, so the window manager places it on every desktop at once.
    makeStickyDockBeforeMap(*this);
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
    return QRect(TrayRect_.left, TrayRect_.top, TrayRect_.width(), TrayRect_.height());
}

void frmClock::LoadSchemeImages() {
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

void frmClock::setSecondTick(std::function<void()> tick) {
    secondTickHook_ = std::move(tick);
}

void frmClock::setTexts(std::string timeText, std::string dateText) {
    TimeText_ = std::move(timeText);
    DateText_ = std::move(dateText);
}

void frmClock::fillOwnTexts() {
    ClockTexts texts = clockTextsAt(app_.clock.localNow(), app_.settings);
    TimeText_ = std::move(texts.TimeText);
    DateText_ = std::move(texts.DateText);
}

void frmClock::secondTick() {
    // Armed before the tick's work: that work may hold a question open in a nested event loop for as
    // long as the user takes to answer, and meanwhile the clock must go on showing the time and the
    // alarm on ringing. The work itself refuses what must not run twice at once.
    armSecondTimer();
    if (secondTickHook_) {
        secondTickHook_();
    } else {
        fillOwnTexts();
    }
    mainLoopStep();
}

void frmClock::armSecondTimer() {
    secondTimer_.start(millisToNextTick(app_.clock.unixMillis()));
}

FaceInputs frmClock::currentInputs() {
    const Settings& s = app_.settings;
    FaceInputs in;
    in.trayWidth = TrayRect_.width();
    in.trayHeight = TrayRect_.height();
    in.timeText = TimeText_;
    in.dateText = DateText_;
    in.timeFormat = s.TimeFormat;
    if (!weekdayKnown_ || weekdayOf_ != DateText_ || weekdayFormat_ != s.DateFormat) {
        weekday_ = weekdayLine(DateText_, s.DateFormat, app_.clock.localNow(), s.calendarNames);
        weekdayOf_ = DateText_;
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
        TimeText_ = FormatPattern(app_.clock.localNow(), s.TimeFormat, s.calendarNames);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const PixelRect area =
            trayAreaRect(pixelRectOf(screen->geometry()), pixelRectOf(screen->availableGeometry()));
        if (area != TrayRect_) {
            TrayRect_ = area;
            const PixelRect w = dockedWindowRect(TrayRect_, dockTopPixels_, kSurfaceWidth, kSurfaceHeight);
            placed_ = QRect(w.left, w.top, w.width(), w.height());
            setGeometry(placed_);
        }
    }
    trayTopTwips_ = static_cast<int>(twipsFromPixels(TrayRect_.top));

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
    update();
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
        emit menuRequested();
    });
}

void frmClock::mousePressEvent(QMouseEvent* event) {
    openMenu();
    event->accept();
}

void frmClock::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is a press too; it opens nothing while the menu is up.
    openMenu();
    startDateTimeSettings();
    event->accept();
}

void frmClock::startDateTimeSettings() {
    const Result started = app_.shell.startDateTimeSettings();
    if (!started.ok) app_.asker.tell("Tavrin System Message", started.message, MessageIcon::Information);
}

void frmClock::closeEvent(QCloseEvent* event) {
    // Closing the clock ends the program.
    event->accept();
    QCoreApplication::quit();
}

}  // namespace tavrin
