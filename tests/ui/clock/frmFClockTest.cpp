#include "ui/clock/frmFClock.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QPointer>

#include "core/clock/NextTick.h"
#include "ui/WindowTestApp.h"

using namespace tavrin;

namespace {

// The texts, the menu's entries and where a drag may go are the core's rules; the window shows them,
// acts on its menu and follows the mouse.
struct FloatingClockWindow : ::testing::Test, test::WindowTestApp {
    FloatingClockWindow() : test::WindowTestApp(DateTime::fromFields(2026, 1, 15, 14, 0, 0)) {
        mountZones();
        app.zones.HomeZone.DisplayText = "(GMT) Coordinated Universal Time";
        Settings& s = app.settings;
        s.TimeFormat = "hh:mm";
        s.DateFormat = "yyyy-mm-dd";
        s.ColScheme = "E99012";
        s.TForeColor = "FF";
        s.DForeColor = "FF00";
    }
    static QAction* entry(frmFClock& w, const char* text) { return test::menuEntry(w.menu(), text); }
    static QString texts(frmFClock& w) {
        return w.labels()[0]->text() + " | " + w.labels()[1]->text() + " | " + w.labels()[2]->text();
    }
};

TEST_F(FloatingClockWindow, MenuSwitchesBetweenTheMachinesZoneAndAWorldZone) {
    app.zones.ZoneList[1] = "Asia/Tokyo";
    app.zones.ZoneList[2] = "America/St_Johns";
    frmFClock w(app, TAVRIN_SOURCE_DIR);
    EXPECT_EQ(texts(w), "2:00:00 PM | 1/15/2026 | (GMT) Coordinated Universal Time");
    EXPECT_EQ(w.labels()[0]->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(w.labels()[1]->palette().color(QPalette::WindowText), QColor(0, 255, 0));

    entry(w, "(GMT-03:30) St Johns, Canada")->trigger();
    EXPECT_EQ(texts(w), "10:30 | 2026-01-15 | (GMT-03:30) St Johns, Canada");
    entry(w, "&Show Time Zone...")->trigger();
    EXPECT_EQ(texts(w), "2:00:00 PM | 1/15/2026 | (GMT) Coordinated Universal Time");

    // The colours follow the settings at the next tick.
    app.settings.ColScheme = "FF";
    w.tick();
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(255, 0, 0));
}

// The preferences save another list: the clock keeps its zone, and its menu, offered again, follows.
TEST_F(FloatingClockWindow, KeepsItsZoneWhenTheListChangesAndItsMenuFollowsTheList) {
    app.zones.ZoneList[1] = "Europe/Berlin";
    frmFClock w(app, TAVRIN_SOURCE_DIR);
    entry(w, "(GMT+01:00) Berlin, Germany")->trigger();
    app.zones.ZoneList[1] = "America/New_York";
    app.zones.ZoneList[2] = "Europe/Berlin";
    w.tick();
    EXPECT_EQ(texts(w), "15:00 | 2026-01-15 | (GMT+01:00) Berlin, Germany");
    test::click(w.labels()[0]);
    EXPECT_EQ(test::menuTexts(w.menu()),
              (QStringList{"&Show Time Zone...", "-", "(GMT-05:00) New York, United States",
                           "(GMT+01:00) Berlin, Germany", "-", "&Always on Top", "-", "&Close"}));
}

TEST_F(FloatingClockWindow, AlwaysOnTopTogglesTheWindowsStacking) {
    frmFClock w(app, TAVRIN_SOURCE_DIR);
    w.show();
    QAction* aot = entry(w, "&Always on Top");
    for (bool on : {true, false}) {
        aot->trigger();
        EXPECT_EQ(std::pair(w.alwaysOnTop(), aot->isChecked()), std::pair(on, on));
        EXPECT_TRUE(w.isVisible());  // a change of the window's flags hides it
    }
}

// The refresh timer wakes each second while the texts show seconds, each minute otherwise, and not at
// all while the window is hidden; a tick that changes no text paints nothing.
TEST_F(FloatingClockWindow, WakesAndRepaintsOnlyAsOftenAsItsTextsChange) {
    app.zones.ZoneList[1] = "Asia/Tokyo";
    frmFClock w(app, TAVRIN_SOURCE_DIR);
    EXPECT_FALSE(w.refreshArmedFor());
    w.show();
    EXPECT_EQ(w.refreshArmedFor(), 1000 + kTickLagMs);  // the desktop's long time
    entry(w, "(GMT+09:00) Tokyo, Japan")->trigger();
    EXPECT_EQ(w.refreshArmedFor(), 60'000 + kTickLagMs);  // "hh:mm"
    test::wait(30);
    const int painted = w.repaints();
    clock.advanceSeconds(1);  // "hh:mm" does not move within the minute
    w.tick();
    test::wait(5);
    EXPECT_EQ(w.repaints(), painted);
    clock.advanceSeconds(60);
    w.tick();
    test::wait(30);
    EXPECT_GT(w.repaints(), painted);
    w.hide();
    EXPECT_FALSE(w.refreshArmedFor());
}

// Where a drag may take the window is the core's rule; the journey drags it off the screen.
TEST_F(FloatingClockWindow, DraggedByTheHandleClosedByThePicture) {
    QPointer<frmFClock> w = new frmFClock(app, TAVRIN_SOURCE_DIR);
    w->show();
    QWidget* handle = w->dragHandle();
    const QPoint grab = handle->mapToGlobal(QPoint(5, 5));
    const auto send = [handle](QEvent::Type type, QPoint global) { test::sendMouse(handle, type, global); };
    send(QEvent::MouseButtonPress, grab);
    const QPoint dropped = QPoint(300, 200) - (grab - w->frameGeometry().topLeft());
    send(QEvent::MouseMove, QPoint(300, 200));
    EXPECT_EQ(w->frameGeometry().topLeft(), dropped);
    send(QEvent::MouseButtonRelease, QPoint(300, 200));
    send(QEvent::MouseMove, QPoint(10, 10));  // released: no longer follows
    EXPECT_EQ(w->frameGeometry().topLeft(), dropped);

    test::click(w->closePicture());
    test::wait(0);
    EXPECT_FALSE(w);
}

}  // namespace
