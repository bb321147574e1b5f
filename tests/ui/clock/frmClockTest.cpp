#include "ui/clock/frmClock.h"

#include <gtest/gtest.h>

#include <QAccessible>

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>

#include "support/StoredValue.h"
#include "support/TempDir.h"
#include "ui/WindowTestApp.h"

using namespace tavrin;

namespace {

// Monday 7 March 2005, 21:05.
struct ClockWindow : ::testing::Test, test::WindowTestApp {
    ClockWindow() {
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
};

// A watch whose news the test sends through an event counter, so that the window wakes for it as for
// a window system's.
template <class Watch, class News>
class SignalledNews : public Watch {
  public:
    ~SignalledNews() override { ::close(counter_); }
    void send(News news) {
        news_ = news;
        (void)!::eventfd_write(counter_, 1);
    }
    int eventDescriptor() const override { return counter_; }
    News takeNews() override {
        eventfd_t count = 0;
        (void)!::eventfd_read(counter_, &count);
        return std::exchange(news_, News{});
    }

  private:
    int counter_ = ::eventfd(0, 0);
    News news_;
};

// A window system with one 1024 x 768 monitor and a panel.
class FakeDesktop final : public SignalledNews<DesktopWatch, DesktopNews> {
  public:
    void setOwnWindow(std::uint64_t) override {}
    bool newsWaiting() const override { return false; }
    DesktopLayout layout() override { return layout_; }
    bool panelAboveOwnWindow() override { return panelAbove; }
    void raiseOwnWindow() override { ++raises; }

    DesktopLayout layout_{{Monitor{{0, 0, 1024, 768}, true}}, {DockWindow{{0, 738, 1024, 768}, true}}};
    bool panelAbove = false;
    int raises = 0;
};

// A wall clock whose timer the test reads.
class FakeWallClock final : public SignalledNews<WallClockWatch, WallClockNews> {
  public:
    Result<> armAt(std::int64_t unixMillis) override {
        armedAt = unixMillis;
        return {};
    }

    std::int64_t armedAt = 0;
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
    for (int i = 0; i < 250 && ticks < 3; ++i) test::wait(20);
    EXPECT_GE(ticks, 3);
    EXPECT_TRUE(armedDuringWork);
}

// Where each picture goes is the face's rule; the frame draws them there and prints the time inside.
TEST_F(ClockWindow, FrameShowsThePicturesAtTheirRowsAndTheTextInside) {
    auto w = makeClock();
    ASSERT_TRUE(w->schemeHasImages());
    const QImage& frame = w->frame();
    const int h = frame.height();
    ASSERT_EQ(frame.size(), w->trayRect().size());
    // Column 3 is clear of the centred text: top picture from row -2, centre from row 7, bottom from h - 10.
    EXPECT_EQ(frame.pixel(3, 0), picture("def_blue_top.gif").pixel(3, 2));
    EXPECT_EQ(frame.pixel(3, 8), picture("def_blue_center.gif").pixel(3, 1));
    EXPECT_EQ(frame.pixel(3, h - 1), picture("def_blue.gif").pixel(3, 9));
    // The time's ink, pure red, inside the frame and about centred.
    QRect ink;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < frame.width(); ++x)
            if ((frame.pixel(x, y) & 0xFFFFFF) == 0xFF0000) ink |= QRect(x, y, 1, 1);
    EXPECT_GT(ink.width(), 20);
    EXPECT_LE(std::abs(ink.left() - (frame.width() - 1 - ink.right())), 3);
    EXPECT_TRUE(ink.top() > 0 && ink.bottom() < h - 1);
}

TEST_F(ClockWindow, ComposesTheFirstFrameBeforeShowingAndThenOnlyWhenSomethingThatShapesItChanged) {
    auto w = std::make_unique<frmClock>(app, TAVRIN_SOURCE_DIR);
    EXPECT_FALSE(w->isVisible() || w->frame().isNull());
    // Composed in the surface's own font and again in the date font it then holds: the steady frame.
    const int composed = w->compositions();
    EXPECT_EQ(composed, 2);
    const auto steps = [&](int n) {
        for (int i = 0; i < n; ++i) w->mainLoopStep();
    };
    steps(2);
    EXPECT_EQ(w->compositions(), composed);

    clock.advanceSeconds(60);
    steps(1);
    EXPECT_EQ(w->compositions(), composed + 1);
    // What a screen reader reads follows the frame, and a 12-hour time the clock on every step.
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(w.get());
    EXPECT_EQ(read->role(), QAccessible::StaticText);
    EXPECT_EQ(read->text(QAccessible::Name).toStdString(), "9:06 PM, Monday, 03/07/05");

    // The tick hook hands back the texts.
    w->setClockTick([&] { w->setTexts("9:06 PM", "03/08/05"); });
    w->clockTick();
    EXPECT_EQ(w->dateText(), "03/08/05");
    EXPECT_EQ(w->compositions(), composed + 2);

    // A new date style: one frame measured in the old date font, then one in the new, then quiet.
    app.settings.DateBold = "1";
    steps(3);
    EXPECT_EQ(w->compositions(), composed + 4);

    // A plain colour instead of the pictures.
    app.settings.ColScheme = "FF";
    w->loadSchemeImages();
    w->mainLoopStep();
    EXPECT_EQ(w->compositions(), composed + 5);
    EXPECT_EQ(w->frame().pixel(0, w->frame().height() - 1), qRgb(255, 0, 0));
}

TEST_F(ClockWindow, MissingPicturesLeaveTheFlatColourAndOneMenuOpensPerPress) {
    app.settings.ColScheme = "e99012";
    tavrin::test::TempDir empty("tavrin-no-images");
    auto w = makeClock(empty.path());
    EXPECT_FALSE(w->schemeHasImages());  // the flat colour instead
    EXPECT_EQ(w->frame().pixel(0, w->frame().height() - 1), qRgb(18, 144, 233));

    int hooked = 0;
    w->setMenuHook([&] { ++hooked; });
    for (Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton})
        test::sendMouse(w.get(), QEvent::MouseButtonPress, QPoint(5, 5), Qt::NoModifier, button);
    EXPECT_EQ(hooked, 1);  // the second press came while the menu was up
}

TEST_F(ClockWindow, DoubleClickAsksTheShellForTheDateTimeSettingsOrSaysWhyNot) {
    auto w = makeClock();
    shell.answer = Result<>::failure("No settings tool.");
    test::sendMouse(w.get(), QEvent::MouseButtonDblClick, QPoint(5, 5));
    EXPECT_EQ(shell.dateTimeStarts, 1);
    EXPECT_EQ(asker.asked, (std::vector<test::ScriptedAsker::Asked>{
                               {"Tavrin System Message", "No settings tool.", MessageIcon::Information}}));
}

// With no seconds shown the clock wakes just after each minute turns, with seconds just after each
// second; news that the wall clock was set is a tick at once, armed again from the new time.
TEST_F(ClockWindow, TicksAtTheMinuteOrTheSecondAndAtOnceWhenTheClockIsSet) {
    const auto tickAt = [](int day, int h, int m, int s) {
        return DateTime::fromFields(2005, 3, day, h, m, s).toUnix() * 1000 + kTickLagMs;
    };
    FakeWallClock wall;
    frmClock w(app, TAVRIN_SOURCE_DIR, nullptr, &wall);
    EXPECT_EQ(wall.armedAt, tickAt(7, 21, 6, 0));

    app.settings.TimeFormat = "h:mm:ss AM/PM";
    w.applySettings();
    EXPECT_EQ(w.timeText(), "9:05:00 PM");
    EXPECT_EQ(wall.armedAt, tickAt(7, 21, 5, 1));

    int changes = 0;
    QObject::connect(&w, &frmClock::wallClockChanged, [&] { ++changes; });
    const int composed = w.compositions();
    clock.setUtc(DateTime::fromFields(2005, 3, 8, 7, 30, 20));  // set by hand, mid-minute
    wall.send(WallClockNews{false, true, false});
    test::wait(50);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(w.timeText() + " " + w.dateText(), "7:30:20 AM 03/08/05");
    EXPECT_EQ(w.compositions(), composed + 1);
    EXPECT_EQ(wall.armedAt, tickAt(8, 7, 30, 21));
}

// The clock sits on the panel the window system names, follows it when it moves, raises itself when a
// panel comes above it (but does not keep asking a window manager that refuses), and a drag with Ctrl
// moves it along the panel and keeps the place, opening no menu (how far it may go is the panel spot's
// rule).
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
    const auto mouse = [&](QEvent::Type type, int x) {
        test::sendMouse(&w, type, {x, 10}, Qt::ControlModifier);
    };
    mouse(QEvent::MouseButtonPress, 980);
    mouse(QEvent::MouseMove, 830);
    mouse(QEvent::MouseButtonRelease, 830);
    EXPECT_EQ(menus, 0);
    EXPECT_EQ(w.trayRect(), QRect(794, 0, 80, 28));
    EXPECT_EQ(test::storedValue(store, Root::CurrentUser, kSettingsKey, "PanelOffset"), "150");
}
