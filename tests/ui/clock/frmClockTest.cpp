#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <cstdlib>

#include "core/state/AppState.h"
#include "core/store/MemoryStore.h"
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
    clock.advanceMillis(999);  // the next second begins a millisecond from now
    int ticks = 0;
    bool armedDuringWork = true;
    w->setSecondTick([&] {
        if (++ticks > 1) armedDuringWork = armedDuringWork && w->nextTickArmed();
    });
    w->secondTick();  // arms the timer a few milliseconds ahead
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

    // The tick hook hands back the texts.
    w->setSecondTick([&] { w->setTexts("9:06 PM", "03/08/05"); });
    w->secondTick();
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
    w->secondTick();
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
