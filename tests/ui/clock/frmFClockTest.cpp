#include "ui/clock/frmFClock.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include "core/clock/NextTick.h"
#include "core/settings/SettingsLoader.h"
#include "core/store/KeyNames.h"
#include "core/store/MemoryStore.h"
#include "core/timezones/ZoneCatalogue.h"
#include "support/FakeClock.h"
#include "support/FakeCommonDialogs.h"
#include "support/Recorders.h"
#include "support/RecordingShell.h"
#include "support/ScriptedAsker.h"
#include "support/TestApp.h"
#include "ui/alarms/frmAlarm.h"
#include "ui/settings/frmPrefs.h"

using namespace tavrin;

namespace {

struct FloatingClockWindow : ::testing::Test {
    void SetUp() override {
        test::ensureApp();
        store.mount(Root::LocalMachine,
                    makeZoneCatalogue(std::string(TAVRIN_TEST_DATA) + "/zoneinfo", clock));
        app.zones.ZoneRoot = kZoneRootNt;
        app.zones.HomeZone.DisplayText = "(GMT) Coordinated Universal Time";
        Settings& s = app.settings;
        s.TimeFormat = "hh:mm";
        s.DateFormat = "yyyy-mm-dd";
        s.ColScheme = "E99012";
        s.TForeColor = "FF";
        s.DForeColor = "FF00";
    }
    std::vector<std::string> menuTexts(frmFClock& w) {
        std::vector<std::string> out;
        for (QAction* a : w.menu()->actions())
            out.push_back(a->isSeparator() ? "-" : a->text().toStdString());
        return out;
    }
    QAction* entry(frmFClock& w, const char* text) {
        for (QAction* a : w.menu()->actions())
            if (a->text() == QString::fromUtf8(text)) return a;
        return nullptr;
    }
    std::string texts(frmFClock& w) {
        return (w.labels()[0]->text() + " | " + w.labels()[1]->text() + " | " + w.labels()[2]->text())
            .toStdString();
    }

    test::FakeClock clock{DateTime::fromFields(2026, 1, 15, 14, 0, 0)};
    MemoryStore store;
    test::RecordingShell shell;
    test::ScriptedAsker asker;
    AppState app{store, clock, shell, asker, Paths{}};
};

// The refresh timer wakes each second while the texts show seconds, each minute otherwise, and
// not at all while the window is hidden.
TEST_F(FloatingClockWindow, WakesEachSecondOnlyWhileItShowsSeconds) {
    app.zones.ZoneList[1] = "Asia/Tokyo";
    frmFClock w(app, TAVRIN_SOURCE_DIR);
    EXPECT_FALSE(w.refreshArmedFor());
    w.show();
    EXPECT_EQ(w.refreshArmedFor(), 1000 + kTickLagMs);  // the desktop's long time
    entry(w, "(GMT+09:00) Tokyo, Japan")->trigger();
    EXPECT_EQ(w.refreshArmedFor(), 60'000 + kTickLagMs);  // "hh:mm"
    w.hide();
    EXPECT_FALSE(w.refreshArmedFor());
}

TEST_F(FloatingClockWindow, MenuSwitchesBetweenTheMachinesZoneAndAWorldZone) {
    app.zones.ZoneList[1] = "Asia/Tokyo";
    app.zones.ZoneList[2] = "America/St_Johns";
    frmFClock w(app, TAVRIN_SOURCE_DIR);
    EXPECT_EQ(menuTexts(w), (std::vector<std::string>{"&Show Time Zone...", "-", "(GMT+09:00) Tokyo, Japan",
                                                      "(GMT-03:30) St Johns, Canada", "-", "&Always on Top",
                                                      "-", "&Close"}));
    EXPECT_EQ(texts(w), "2:00:00 PM | 1/15/2026 | (GMT) Coordinated Universal Time");
    EXPECT_EQ(w.labels()[0]->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(w.labels()[1]->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(18, 144, 233));

    entry(w, "(GMT-03:30) St Johns, Canada")->trigger();
    EXPECT_EQ(texts(w), "10:30 | 2026-01-15 | (GMT-03:30) St Johns, Canada");
    entry(w, "&Show Time Zone...")->trigger();
    EXPECT_EQ(texts(w), "2:00:00 PM | 1/15/2026 | (GMT) Coordinated Universal Time");

    // The colours follow the settings at the next tick.
    app.settings.ColScheme = "FF";
    w.tick();
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(255, 0, 0));
}

TEST_F(FloatingClockWindow, KeepsItsZoneAcrossThePreferencesOkAsDoesAnOpenAlarmDialog) {
    app.settings.SettingsRoot = Root::CurrentUser;
    LoadSettings(store, app.settings, app.zones, "E99012");
    app.settings.TimeFormat = "hh:mm";
    app.settings.DateFormat = "yyyy-mm-dd";
    app.zones.ZoneList[1] = "Europe/Berlin";
    app.zones.ZoneList[2] = "Asia/Tokyo";
    frmFClock w(app, TAVRIN_SOURCE_DIR);
    entry(w, "(GMT+01:00) Berlin, Germany")->trigger();
    test::RecordingSound sound;
    test::FakeCommonDialogs dialogs;
    QPointer<frmAlarm> alarm = new frmAlarm(app, sound, dialogs);
    alarm->Combo3()->setCurrentIndex(2);  // "12:00 PM"
    alarm->Combo4()->setCurrentIndex(1);  // Berlin

    // New York joins the list, which the dialog saves sorted: New York, Tokyo, Berlin.
    QPointer<frmPrefs> prefs =
        new frmPrefs(app, dialogs, "/opt/tavrin", "/opt/tavrin/bin/tavrin", PrefsHooks{});
    prefs->txtZoneFilter()->setText("new york");
    prefs->tickZone(0, true);
    prefs->Command2()->click();
    ASSERT_TRUE(asker.asked.empty());

    w.tick();
    EXPECT_EQ(texts(w), "15:00 | 2026-01-15 | (GMT+01:00) Berlin, Germany");
    test::click(w.labels()[0]);  // the menu, offered again, follows the new list
    EXPECT_EQ(menuTexts(w),
              (std::vector<std::string>{"&Show Time Zone...", "-", "(GMT-05:00) New York, United States",
                                        "(GMT+09:00) Tokyo, Japan", "(GMT+01:00) Berlin, Germany", "-",
                                        "&Always on Top", "-", "&Close"}));
    w.menu()->close();
    alarm->Command1_Click(1);
    EXPECT_EQ(app.alarms.WarningZone.DisplayText, "(GMT+01:00) Berlin, Germany");
    test::wait(0);
    delete prefs.data();
    delete alarm.data();
}

TEST_F(FloatingClockWindow, AlwaysOnTopTogglesTheWindowsStacking) {
    frmFClock w(app, TAVRIN_SOURCE_DIR);
    w.show();
    EXPECT_EQ(menuTexts(w),
              (std::vector<std::string>{"&Show Time Zone...", "-", "-", "&Always on Top", "-", "&Close"}));
    QAction* aot = entry(w, "&Always on Top");
    ASSERT_TRUE(aot->isCheckable());
    aot->trigger();
    EXPECT_TRUE(w.alwaysOnTop());
    EXPECT_TRUE(aot->isChecked());
    EXPECT_TRUE(w.isVisible());
    aot->trigger();
    EXPECT_FALSE(w.alwaysOnTop());
    EXPECT_FALSE(aot->isChecked());
    EXPECT_TRUE(w.isVisible());
}

TEST_F(FloatingClockWindow, RepaintsOnlyWhenATextChanges) {
    app.zones.ZoneList[1] = "Asia/Tokyo";
    frmFClock w(app, TAVRIN_SOURCE_DIR);
    entry(w, "(GMT+09:00) Tokyo, Japan")->trigger();
    w.show();
    test::wait(30);
    const int painted = w.repaints();
    for (int i = 0; i < 5; ++i) {
        clock.advanceSeconds(1);  // "hh:mm" does not move within the minute
        w.tick();
        test::wait(5);
    }
    EXPECT_EQ(w.repaints(), painted);
    clock.advanceSeconds(60);
    w.tick();
    test::wait(30);
    EXPECT_GT(w.repaints(), painted);
    EXPECT_EQ(w.labels()[0]->text(), "23:01");
}

TEST_F(FloatingClockWindow, DraggedByTheHandleWithinTheScreenClosedByThePicture) {
    QPointer<frmFClock> w = new frmFClock(app, TAVRIN_SOURCE_DIR);
    w->show();
    const QRect screen = w->screen()->availableGeometry();
    QWidget* handle = w->dragHandle();
    const QPoint grab = handle->mapToGlobal(QPoint(5, 5));
    const auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(handle->mapFromGlobal(global)), QPointF(global), Qt::LeftButton, buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(handle, &e);
    };
    send(QEvent::MouseButtonPress, grab, Qt::LeftButton);
    const QPoint offset = grab - w->frameGeometry().topLeft();
    send(QEvent::MouseMove, QPoint(300, 200), Qt::LeftButton);
    EXPECT_EQ(w->frameGeometry().topLeft(), QPoint(300, 200) - offset);
    send(QEvent::MouseMove, QPoint(screen.right() + 500, screen.bottom() + 500), Qt::LeftButton);
    EXPECT_EQ(w->frameGeometry().bottomRight(), screen.bottomRight());
    send(QEvent::MouseButtonRelease, QPoint(10, 10), Qt::NoButton);
    send(QEvent::MouseMove, QPoint(10, 10), Qt::NoButton);  // released: no longer follows
    EXPECT_EQ(w->frameGeometry().bottomRight(), screen.bottomRight());

    test::click(w->closePicture());
    test::wait(0);
    EXPECT_FALSE(w);
}

}  // namespace
