#pragma once
// The tray clock window: a frameless, always-on-top dock window on the tray area (the end of a panel,
// or where the user moved it along the panel) that shows the time, weekday and date on the scheme's
// colour and pictures, opens the menu on a press and the desktop's date and time settings on a double
// click. Dragged with Ctrl held it moves along the panel. It stays above every panel: whenever the
// window system says a window was mapped or restacked, it checks and raises itself again.
//
// It wakes once a minute, just after the minute turns, or once a second while its time shows
// seconds. What can change the face between two ticks arrives as news instead: the wall clock set
// or the machine resumed or its zone replaced (the wall-clock watch), the panels (the desktop
// watch), the settings (applySettings).
#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "core/clock/ClockFace.h"
#include "core/clock/MenuGate.h"
#include "core/clock/NextTick.h"
#include "core/clock/TrayArea.h"
#include "core/clock/WallClockWatch.h"
#include "core/desktop/DesktopWatch.h"
#include "core/desktop/PanelSpot.h"
#include "core/state/AppState.h"
#include "ui/clock/QtFaceRenderer.h"
#include "ui/utilities/RepeatedFailureLog.h"

class QScreen;
class QSocketNotifier;

namespace tavrin {

class frmClock : public QWidget {
    Q_OBJECT
  public:
    // `applicationDirectory` is where the scheme pictures' Images folder is looked for. `desktop` tells
    // the monitors and panels and when they change; without it (no X server) the toolkit's screens
    // and their free areas stand in for the panels. `wallClock` times the ticks and tells of clock
    // changes; without it a plain timer times them, and news of a change waits for the next tick.
    frmClock(AppState& app, std::string applicationDirectory, DesktopWatch* desktop = nullptr,
             WallClockWatch* wallClock = nullptr, QWidget* parent = nullptr);
    ~frmClock() override;

    // Runs first on every tick: the alarm and reminder work, which hands the fresh texts back through
    // setTexts. Without it the window formats its own texts from the settings' patterns.
    void setClockTick(std::function<void()> tick);
    void setTexts(std::string timeText, std::string dateText);
    const std::string& timeText() const { return timeText_; }
    const std::string& dateText() const { return dateText_; }

    // The menu-open flag; the menu clears it as it closes.
    bool menuShown() const { return menu_.shown(); }
    void setMenuShown(bool shown) { menu_.setShown(shown); }
    // Opens the pop-up menu; called on a press while no menu is shown.
    void setMenuHook(std::function<void()> hook) { menuHook_ = std::move(hook); }
    // What a double click does: starts the desktop's date and time settings, or says why not. The
    // menu calls it when the second press of a double click lands on the clock while it is up.
    void startDateTimeSettings();

    // The tray area in screen pixels, as last read.
    QRect trayRect() const;
    // The panel the clock sits on, the area it covers and the room beside the panel.
    const PanelSpot& panelSpot() const { return spot_; }
    // Where windows that open from the clock go: the clock's monitor less its panel.
    QRect availableRect() const;
    // Moves the clock to `offset` pixels from the panel's end (kept on the panel) without storing it.
    void moveAlongPanel(int offset);
    // Where the window placed itself on the screen, in pixels. Windows placed against the clock use
    // this rather than geometry(): a window manager that wraps the window in a frame of its own can
    // leave the toolkit's idea of the position at the frame's corner for as long as the clock runs.
    QRect placedRect() const { return placed_; }
    // The tray area's top edge in screen twips, for windows placed against the clock.
    int trayTopTwips() const { return trayTopTwips_; }

    // Loads the scheme's pictures for the current "ColScheme", or falls back to the plain colour.
    void loadSchemeImages();
    bool schemeHasImages() const { return schemeHasImages_; }

    // One tick's work: the tick hook (or the window's own texts), then the main-loop step.
    void clockTick();
    // Whether the next tick is already armed, when (Unix milliseconds) and at which pace.
    bool nextTickArmed() const { return wallClockArmed_ || tickTimer_.isActive(); }
    std::int64_t nextTickAt() const { return nextTickAt_; }
    TickPace tickPace() const { return tickPace_; }
    // The settings changed: the texts in the new patterns at once, and the pace they need.
    void applySettings();
    // The main-loop step: refresh a 12-hour time, re-read the tray area, compose a new frame when
    // anything that shapes it changed, and show it.
    void mainLoopStep();
    // The frame the window shows, and how many frames have been composed so far.
    const QImage& frame() const { return frame_; }
    int compositions() const { return compositions_; }

  signals:
    // The first frame reached the screen (the measurement scripts time it).
    void firstFramePainted();
    // A panel was found above the clock and the clock asked to be put above it again,
    // `millisSinceNews` after the window system's news of the change reached the clock.
    void raisedAbovePanel(qint64 millisSinceNews);
    // The wall clock was set or stepped, the machine woke, or its zone changed: the clock has shown
    // the new time already; other windows that show the time may follow.
    void wallClockChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void dockOnPanel();
    void followScreens();
    void refreshArea();
    // Reads the monitors and panels again and takes the place they give.
    void readDesktop();
    void placeOnSpot();
    void watchDesktop();
    void desktopNews();
    void keepAbovePanels();
    void updateAccessibleName();
    void fillOwnTexts();
    void armTick();
    void watchWallClock();
    void wallClockNews();
    void openMenu();
    FaceInputs currentInputs();

    AppState& app_;
    std::string appDir_;
    MenuGate menu_;
    std::function<void()> menuHook_;
    std::function<void()> clockTickHook_;
    std::string timeText_;
    std::string dateText_;

    PixelRect trayArea_;
    DesktopWatch* desktop_ = nullptr;
    QSocketNotifier* desktopNotifier_ = nullptr;
    // News comes in bursts (a panel starting maps and moves several windows): it is read once the
    // burst is over.
    QTimer desktopSettle_;
    QElapsedTimer sinceNews_;
    DesktopLayout layout_;
    PanelSpot spot_;
    // Raises asked since the last change of panels; a window manager that keeps a panel above the
    // clock is not asked again and again.
    int raisesAsked_ = 0;
    // A drag along the panel with Ctrl held: where it started and the offset then.
    bool dragging_ = false;
    QPoint dragStart_;
    int dragStartOffset_ = 0;
    QRect placed_;
    int dockTopPixels_ = 0;
    int trayTopTwips_ = 0;

    std::array<QImage, 3> layers_;
    bool schemeHasImages_ = false;

    QtTextMetrics metrics_;
    LineStyle surfaceStyle_;
    // What the last frame was composed from: the layout's inputs, the scheme colour and the pictures
    // loaded (counted, since another scheme's pictures have the same sizes).
    struct FrameKey {
        FaceInputs inputs;
        std::string colour;
        int picturesLoaded = 0;
        friend bool operator==(const FrameKey&, const FrameKey&) = default;
    };
    std::optional<FrameKey> lastKey_;
    int picturesLoaded_ = 0;
    QImage frame_;
    int compositions_ = 0;

    // The weekday line is read back from the date text only when that text changes.
    std::string weekdayOf_;
    std::string weekdayFormat_;
    std::optional<std::string> weekday_;
    bool weekdayKnown_ = false;

    // The ticks: the wall-clock watch's timer where there is one, else a plain timer.
    WallClockWatch* wallClock_ = nullptr;
    QSocketNotifier* wallClockNotifier_ = nullptr;
    bool wallClockArmed_ = false;
    RepeatedFailureLog wallClockFailures_;
    QTimer tickTimer_;
    std::int64_t nextTickAt_ = 0;
    TickPace tickPace_ = TickPace::EachMinute;
    QPointer<QScreen> watchedScreen_;
    bool firstFramePainted_ = false;
    bool stickyAsked_ = false;
};

}  // namespace tavrin
