#include "ui/utilities/frmStopWatch.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

#include "support/FakeMonotonicClock.h"
#include "support/TestApp.h"

using namespace tavrin;

namespace {

struct StopWatchWindow : ::testing::Test {
    QString shown() {
        return w.hoursLabel()->text() + ":" + w.minutesLabel()->text() + ":" + w.secondsLabel()->text() +
               " " + w.hundredthsLabel()->text();
    }
    bool appMade = (test::ensureApp(), true);  // before the window
    test::FakeMonotonicClock clock;
    frmStopWatch w{clock};
};

// The count is the core's; the window's buttons run it and its display follows only while it runs.
TEST_F(StopWatchWindow, RefreshesOnlyWhileRunningAndNeverFasterThanFrames) {
    EXPECT_EQ(shown(), "00:00:00 00");
    EXPECT_FALSE(w.refreshing());

    test::click(w.startButton());
    EXPECT_TRUE(w.refreshing());
    EXPECT_GE(w.refreshIntervalMs(), 10);  // the count moves every hundredth: no 5 ms timer
    EXPECT_LE(w.refreshIntervalMs(), 42);
    clock.advance(61'230);
    w.refresh();
    EXPECT_EQ(shown(), "00:01:01 23");

    test::click(w.stopButton());
    EXPECT_FALSE(w.refreshing());

    test::click(w.resetButton());
    EXPECT_FALSE(w.refreshing());
    EXPECT_EQ(shown(), "00:00:00 00");

    // At 24 hours the count stops by itself, and the refreshes with it.
    test::click(w.startButton());
    clock.advance(24LL * 3600 * 1000 + 500);
    w.refresh();
    EXPECT_FALSE(w.refreshing());
}

// Laps (the count is the core's): the button or L adds a row on top, the list opens under the buttons,
// its context menu copies the laps and Reset closes it again.
TEST_F(StopWatchWindow, LapsListNewestFirstAndCopy) {
    test::click(w.startButton());
    clock.advance(1'230);
    test::click(w.lapButton());
    clock.advance(2'000);
    QKeyEvent l(QEvent::KeyPress, Qt::Key_L, Qt::NoModifier, QStringLiteral("l"));
    QApplication::sendEvent(&w, &l);
    ASSERT_EQ(w.lapList()->topLevelItemCount(), 2);
    const QTreeWidgetItem* top = w.lapList()->topLevelItem(0);
    EXPECT_EQ(top->text(0) + " " + top->text(1) + " " + top->text(2), "2 00:00:02.00 00:00:03.23");
    EXPECT_FALSE(w.lapList()->isHidden());
    w.lapList()->actions().at(0)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "Lap 2\t00:00:02.00\t00:00:03.23\nLap 1\t00:00:01.23\t00:00:01.23\n");
    test::click(w.resetButton());
    EXPECT_EQ(w.lapList()->topLevelItemCount(), 0);
    EXPECT_TRUE(w.lapList()->isHidden());
}

}  // namespace
