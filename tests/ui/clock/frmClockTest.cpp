#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <unistd.h>

#include <cstdlib>
#include <utility>

#include "core/state/AppState.h"
#include "core/store/KeyNames.h"
#include "core/store/MemoryStore.h"
#include "core/store/StoreAccess.h"
#include "support/FakeClock.h"
#include "support/RecordingShell.h"
#include "support/ScriptedAsker.h"
#include "support/TempDir.h"
#include "support/TestApp.h"
#include "ui/clock/frmClock.h"

using namespace tavrin;

namespace {

class ClockWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensureApp();
        Settings& s = app.settings;
        s.DateFormat = "mm/dd/yy";
        s.TimeFormat = "h:mm AM/PM";
        s.TForeColor = "FF";
        s.ColScheme = "E99012";
        s.TimeFont = s.DateFont = "DejaVu Sans";
        s.TimeSize = "9";
        s.DateSize = "6";
        s.TimeBold = "1";
    }
    std::unique_ptr<frmClock> makeClock(const std::string& appDir = TAVRIN_SOURCE_DIR) {
        auto w = std::make_unique<frmClock>(app, appDir);
        w->mainLoopStep();
        w->mainLoopStep();
        return w;
    }
    static QImage picture(const char* name) {
        return QImage(QString(TAVRIN_SOURCE_DIR "/Images/") + name).convertToFormat(QImage::Format_RGB32);
    }

    MemoryStore store;
    test::FakeClock clock{DateTime::fromFields(2005, 3, 7, 21, 5, 0)};
    test::RecordingShell shell;
    test::ScriptedAsker asker;
    AppState app{store, clock, shell, asker, Paths{}};
};

}  // namespace

// The tick's work may hold the reminder question open in a nested event loop for as long as the user
// takes: the timer's tick arms the next one before that work, so the clock goes on meanwhile.
TEST_F(ClockWindow, ATickArmsTheNextBeforeItsWork) {
    auto w = makeClock();
    clock.advanceMillis(59'999);  // the next minute begins a millisecond from now
    int ticks = 0;
    bool armedDuringWork = true;
    w->setClockTick([&] {
        if (++ticks > 1) armedDuringWork = armedDuringWork && w->nextTickArmed();
    });
    w->clockTick();  // arms the timer a few milliseconds ahead
    QElapsedTimer guard;
    guard.start();
    while (ticks < 3 && guard.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(armedDuringWork);
}

TEST_F(ClockWindow, FrameShowsThePicturesAtTheirRowsAndTheTextInside) {
    auto w = makeClock();
    ASSERT_TRUE(w->SchemeHasImages());
    const QImage& frame = w->frame();
    const int h = w->trayRect().height();
    ASSERT_EQ(frame.size(), QSize(w->trayRect().width(), h));
    ASSERT_GE(h, 20);

    // The frame without text: colour, top picture from row -2, centre from row 7, bottom from h - 10.
    const QImage top = picture("def_blue_top.gif");
    const QImage centre = picture("def_blue_center.gif");
    const QImage bottom = picture("def_blue.gif");
    // Where the frame differs from that lies the text: pure red time ink, inside the frame, about centred.
    QRect ink;
    bool pureRed = false;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            QRgb p = qRgb(18, 144, 233);
            if (y + 2 < top.height()) p = top.pixel(x, y + 2);
            const int centreRows = std::min(centre.height(), h - bottom.height());
            if (y >= 7 && y - 7 < centreRows) p = centre.pixel(x, y - 7);
            if (y >= h - 10 && y - (h - 10) < bottom.height()) p = bottom.pixel(x, y - (h - 10));
            // Column 3 is clear of the centred text: every row is the pictures' own.
            EXPECT_TRUE(x != 3 || frame.pixel(x, y) == p) << "row " << y;
            if (frame.pixel(x, y) == p) continue;
            ink |= QRect(x, y, 1, 1);
            pureRed = pureRed || (frame.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
        }
    }
    EXPECT_TRUE(pureRed);
    EXPECT_GT(ink.width(), 20);
    EXPECT_LE(std::abs(ink.left() - (frame.width() - 1 - ink.right())), 3);
    EXPECT_GT(ink.top(), 0);
    EXPECT_LT(ink.bottom(), h - 1);
}

TEST_F(ClockWindow, ComposesOnlyWhenSomethingThatShapesTheFrameChanged) {
    auto w = makeClock();
    EXPECT_EQ(w->TimeText(), "9:05 PM");  // a 12-hour time follows the clock on every step
    const int composed = w->compositions();
    const auto steps = [&](int n) {
        for (int i = 0; i < n; ++i) w->mainLoopStep();
    };
    steps(2);
    EXPECT_EQ(w->compositions(), composed);

    clock.advanceSeconds(60);
    steps(1);
    EXPECT_EQ(w->TimeText(), "9:06 PM");
    EXPECT_EQ(w->compositions(), composed + 1);
    // What a screen reader reads follows the frame.
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(w.get());
    EXPECT_EQ(read->role(), QAccessible::StaticText);
    EXPECT_EQ(read->text(QAccessible::Name).toStdString(), "9:06 PM, Monday, 03/07/05");

    // The tick hook hands back the texts.
    w->setClockTick([&] { w->setTexts("9:06 PM", "03/08/05"); });
    w->clockTick();
    EXPECT_EQ(w->DateText(), "03/08/05");
    EXPECT_EQ(w->compositions(), composed + 2);

    // A new date style: one frame measured in the old date font, then one in the new, then quiet.
    app.settings.DateBold = "1";
    steps(2);
    EXPECT_EQ(w->compositions(), composed + 4);
    steps(1);
    EXPECT_EQ(w->compositions(), composed + 4);

    // Another picture scheme (pictures of the same sizes), then a plain colour.
    app.settings.ColScheme = "E5DBDA";
    w->LoadSchemeImages();
    w->mainLoopStep();
    EXPECT_EQ(w->compositions(), composed + 5);
    EXPECT_EQ(w->frame().pixel(5, w->frame().height() / 2),
              picture("silver_center.gif").pixel(5, w->frame().height() / 2 - 7));
    app.settings.ColScheme = "FF";
    w->LoadSchemeImages();
    w->mainLoopStep();
    EXPECT_EQ(w->compositions(), composed + 6);
    EXPECT_FALSE(w->SchemeHasImages());
    EXPECT_EQ(w->frame().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(w->frame().pixel(0, w->frame().height() - 1), qRgb(255, 0, 0));
}

TEST_F(ClockWindow, MissingPicturesOwnTextsWithoutAHookAndOneMenuPerPress) {
    app.settings.TimeFormat = "hh:mm";
    app.settings.ColScheme = "e99012";
    tavrin::test::TempDir empty("tavrin-no-images");
    auto w = makeClock(empty.path());
    EXPECT_FALSE(w->SchemeHasImages());  // the flat colour instead
    EXPECT_EQ(w->frame().pixel(0, w->frame().height() - 1), qRgb(18, 144, 233));
    w->clockTick();
    EXPECT_EQ(w->TimeText() + " " + w->DateText(), "21:05 03/07/05");

    int hooked = 0;
    int requested = 0;
    w->setMenuHook([&] { ++hooked; });
    QObject::connect(w.get(), &frmClock::menuRequested, [&] { ++requested; });
    for (Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton}) {
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), button, button, Qt::NoModifier);
        QApplication::sendEvent(w.get(), &e);
    }
    EXPECT_TRUE(w->MenuShown());
    EXPECT_EQ(hooked, 1);  // the second press came while the menu was up
    EXPECT_EQ(requested, 1);
}

TEST_F(ClockWindow, DoubleClickAsksTheShellForTheDateTimeSettings) {
    auto w = makeClock();
    QMouseEvent e(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w.get(), &e);
    EXPECT_EQ(shell.dateTimeStarts, 1);
    EXPECT_TRUE(asker.asked.empty());

    shell.answer = Result::failure("No date and time settings tool was found on this computer.");
    QApplication::sendEvent(w.get(), &e);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].title, "Tavrin System Message");
    EXPECT_EQ(asker.asked[0].text, "No date and time settings tool was found on this computer.");
}

namespace {

// A window system with one 1024 x 768 monitor and a panel, whose news the test sends through a pipe.
class FakeDesktop final : public DesktopWatch {
  public:
    FakeDesktop() {
        if (::pipe(pipe_) != 0) pipe_[0] = pipe_[1] = -1;
    }
    ~FakeDesktop() override {
        ::close(pipe_[0]);
        ::close(pipe_[1]);
    }
    void send(DesktopNews news) {
        news_ = news;
        const char byte = 1;
        (void)!::write(pipe_[1], &byte, 1);
    }
    void setOwnWindow(std::uint64_t) override {}
    int eventDescriptor() const override { return pipe_[0]; }
    DesktopNews takeNews() override {
        char byte = 0;
        (void)!::read(pipe_[0], &byte, 1);
        return std::exchange(news_, DesktopNews{});
    }
    bool newsWaiting() const override { return false; }
    DesktopLayout layout() override { return layout_; }
    bool panelAboveOwnWindow() override { return panelAbove; }
    void raiseOwnWindow() override { ++raises; }

    DesktopLayout layout_{{Monitor{{0, 0, 1024, 768}, true}}, {DockWindow{{0, 738, 1024, 768}, true}}};
    bool panelAbove = false;
    int raises = 0;

  private:
    int pipe_[2];
    DesktopNews news_;
};

}  // namespace

namespace {

// A wall clock whose timer the test reads and whose news it sends through a pipe.
class FakeWallClock final : public WallClockWatch {
  public:
    FakeWallClock() {
        if (::pipe(pipe_) != 0) pipe_[0] = pipe_[1] = -1;
    }
    ~FakeWallClock() override {
        ::close(pipe_[0]);
        ::close(pipe_[1]);
    }
    void send(WallClockNews news) {
        news_ = news;
        const char byte = 1;
        (void)!::write(pipe_[1], &byte, 1);
    }
    int eventDescriptor() const override { return pipe_[0]; }
    bool armAt(std::int64_t unixMillis) override {
        armedAt = unixMillis;
        return true;
    }
    WallClockNews takeNews() override {
        char byte = 0;
        (void)!::read(pipe_[0], &byte, 1);
        return std::exchange(news_, WallClockNews{});
    }

    std::int64_t armedAt = 0;

  private:
    int pipe_[2];
    WallClockNews news_;
};

std::int64_t unixMillisOf(const DateTime& utc) {
    return utc.toUnix() * 1000;
}

}  // namespace

// With no seconds shown the clock wakes just after each minute turns, with seconds just after each
// second; news that the wall clock was set is a tick at once, armed again from the new time.
TEST_F(ClockWindow, TicksAtTheMinuteOrTheSecondAndAtOnceWhenTheClockIsSet) {
    FakeWallClock wall;
    frmClock w(app, TAVRIN_SOURCE_DIR, nullptr, &wall);
    EXPECT_EQ(w.tickPace(), TickPace::EachMinute);
    EXPECT_EQ(wall.armedAt, unixMillisOf(DateTime::fromFields(2005, 3, 7, 21, 6, 0)) + kTickLagMs);
    EXPECT_EQ(w.nextTickAt(), wall.armedAt);
    EXPECT_TRUE(w.nextTickArmed());

    app.settings.TimeFormat = "h:mm:ss AM/PM";
    w.applySettings();
    EXPECT_EQ(w.TimeText(), "9:05:00 PM");
    EXPECT_EQ(wall.armedAt, unixMillisOf(DateTime::fromFields(2005, 3, 7, 21, 5, 1)) + kTickLagMs);
    app.settings.TimeFormat = "h:mm AM/PM";
    w.applySettings();
    EXPECT_EQ(w.tickPace(), TickPace::EachMinute);

    int changes = 0;
    QObject::connect(&w, &frmClock::wallClockChanged, [&] { ++changes; });
    const int composed = w.compositions();
    clock.setUtc(DateTime::fromFields(2005, 3, 8, 7, 30, 20));  // set by hand, mid-minute
    wall.send(WallClockNews{false, true, false});
    test::wait(50);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(w.TimeText() + " " + w.DateText(), "7:30 AM 03/08/05");
    EXPECT_EQ(w.compositions(), composed + 1);
    EXPECT_EQ(wall.armedAt, unixMillisOf(DateTime::fromFields(2005, 3, 8, 7, 31, 0)) + kTickLagMs);
}

// The clock sits on the panel the window system names, follows it when it moves, raises itself when a
// panel comes above it (but does not keep asking a window manager that refuses), and a drag with Ctrl
// moves it along the panel and keeps the place, opening no menu.
TEST_F(ClockWindow, StaysOnAndAbovePanelsAndMovesAlongThemWithCtrl) {
    Disposition d = Disposition::None;
    KeyHandle key;
    store.CreateKey(KeyHandle::rootKey(Root::CurrentUser), kSettingsKey, kAllAccess, key, d);
    app.settings.SettingsRoot = Root::CurrentUser;
    FakeDesktop desktop;
    frmClock w(app, TAVRIN_SOURCE_DIR, &desktop);
    w.show();
    EXPECT_EQ(w.trayRect(), QRect(944, 738, 80, 30));

    desktop.layout_.docks = {DockWindow{{0, 0, 1024, 28}, true}};
    desktop.panelAbove = true;
    for (int i = 0; i < 5; ++i) {
        desktop.send(DesktopNews{i == 0, true});
        test::wait(80);
    }
    EXPECT_EQ(w.trayRect(), QRect(944, 0, 80, 28));
    EXPECT_EQ(desktop.raises, 3);  // then no more until the panels change
    desktop.send(DesktopNews{true, false});
    test::wait(80);
    EXPECT_EQ(desktop.raises, 4);

    int menus = 0;
    w.setMenuHook([&] { ++menus; });
    const auto mouse = [&](QEvent::Type type, int x, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(10, 10), QPointF(x, 10), Qt::LeftButton, buttons, Qt::ControlModifier);
        QApplication::sendEvent(&w, &e);
    };
    mouse(QEvent::MouseButtonPress, 980, Qt::LeftButton);
    mouse(QEvent::MouseMove, 880, Qt::LeftButton);
    EXPECT_EQ(w.trayRect(), QRect(844, 0, 80, 28));
    mouse(QEvent::MouseMove, -500, Qt::LeftButton);  // no further than the panel's start
    EXPECT_EQ(w.trayRect(), QRect(0, 0, 80, 28));
    mouse(QEvent::MouseMove, 830, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, 830, Qt::NoButton);
    EXPECT_EQ(menus, 0);
    EXPECT_EQ(w.trayRect(), QRect(794, 0, 80, 28));
    Status st = status::kSuccess;
    EXPECT_EQ(QueryValue(store, "PanelOffset", st, key, ""), "150");
    EXPECT_EQ(app.settings.PanelOffset, 150);
}

TEST_F(ClockWindow, FirstFrameIsReadyBeforeTheWindowShows) {
    frmClock w(app, TAVRIN_SOURCE_DIR);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.frame().isNull());
    // Composed in the surface's own font and again in the date font it then holds: the steady frame.
    EXPECT_EQ(w.compositions(), 2);
    w.mainLoopStep();
    EXPECT_EQ(w.compositions(), 2);
    EXPECT_EQ(w.trayRect().size(), w.frame().size());
    EXPECT_EQ(w.TrayTopTwips(), w.trayRect().top() * 15);
}
