#include "ui/clock/frmMenu.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QPointer>
#include <QWheelEvent>

#include "ui/WindowTestApp.h"
#include "ui/clock/frmClock.h"
#include "ui/utilities/AccessiblePopups.h"

using namespace tavrin;

namespace {

// The lines, their order and the menu's measures are the core's; the window shows them above the
// clock, measures its texts, reads out to screen readers and closes however the user leaves it.
class MenuWindow : public ::testing::Test, public test::WindowTestApp {
  protected:
    // 15 January 2026, 14:00 UTC.
    MenuWindow() : test::WindowTestApp(DateTime::fromFields(2026, 1, 15, 14, 0, 0)) {
        includePopupsInAccessibilityTree();
        mountZones();
        Settings& s = app.settings;
        s.SettingsRoot = Root::CurrentUser;
        s.TZFormat = "hh:mm";
        s.TZSType = kSortAlphabetically;
        s.PNDisp = true;
        s.WForeColor = "FF";  // red
        s.ColScheme = "E99012";
        Disposition d = Disposition::None;
        store.CreateKey(KeyHandle::rootKey(Root::CurrentUser), kSettingsKey, kAllAccess, key, d);
        clockWindow = std::make_unique<frmClock>(app, TAVRIN_SOURCE_DIR);
        clockWindow->setMenuHook([this] {
            menu = new frmMenu(app, *clockWindow, MenuActions{}, TAVRIN_SOURCE_DIR);
            menu->popUp();
        });
    }
    void TearDown() override { delete menu.data(); }
    void choose(const std::vector<std::string>& ids) {
        store.SetValue(key, "NumTimeZones", ValueType::String, std::to_string(ids.size()));
        for (std::size_t i = 0; i < ids.size(); ++i)
            store.SetValue(key, "TZone" + std::to_string(i + 1), ValueType::String, ids[i]);
    }
    // A press on the clock, as the window system delivers it.
    void pressClock() {
        test::sendMouse(clockWindow.get(), QEvent::MouseButtonPress, clockWindow->mapToGlobal(QPoint(5, 5)));
    }
    // Presses `global` while the menu is up: a popup receives every press, inside it or not.
    void pressAt(QPoint global) { test::sendMouse(menu.data(), QEvent::MouseButtonPress, global); }

    KeyHandle key;
    std::unique_ptr<frmClock> clockWindow;
    QPointer<frmMenu> menu;
};

TEST_F(MenuWindow, APressShowsTheLinesAboveTheClockAndAScreenReaderReadsThem) {
    choose({"Asia/Tokyo", "Europe/Berlin", "America/New_York"});
    pressClock();
    ASSERT_TRUE(menu);
    const std::vector<QLabel*>& lines = menu->lineLabels();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0]->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(menu->height(), 76);  // three lines and the buttons
    // Above the clock, right-aligned with it.
    EXPECT_EQ(menu->geometry().right(), clockWindow->placedRect().right());
    EXPECT_EQ(menu->geometry().bottom() + 1, clockWindow->trayRect().top() - 6);

    // A screen reader finds the menu among the program's windows, its lines by their text and its
    // buttons by their names.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(menu.data());
    ASSERT_NE(window, nullptr);
    EXPECT_GE(QAccessible::queryAccessibleInterface(qApp)->indexOfChild(window), 0);
    std::vector<std::string> read;
    for (int i = 0; i < window->childCount(); ++i) {
        QAccessibleInterface* child = window->child(i);
        const std::string name = child->text(QAccessible::Name).toStdString();
        if (child->role() == QAccessible::Button) read.push_back("button " + name);
        if (child->role() == QAccessible::StaticText) read.push_back(name);
    }
    EXPECT_EQ(read, (std::vector<std::string>{"15:00 -  Berlin, Germany", "09:00 -  New York, United States",
                                              "23:00 -  Tokyo, Japan", "button Calendar", "button Alarm",
                                              "button Stopwatch", "button Floating Clock",
                                              "button Preferences", "button End Tavrin"}));
}

// The default menu format with full zone names is longer than the menu's usual width: the menu
// widens so that every line shows whole.
TEST_F(MenuWindow, TheMenuWidensToItsLongestLine) {
    app.settings.TZFormat = "mm/dd/yy h:mm am/pm";
    app.settings.PNDisp = false;
    choose({"Asia/Tokyo", "America/St_Johns", "Europe/Berlin"});
    pressClock();
    ASSERT_TRUE(menu);
    EXPECT_GT(menu->width(), 241);
    for (QLabel* line : menu->lineLabels()) {
        EXPECT_GE(line->width(), line->fontMetrics().horizontalAdvance(line->text()))
            << line->text().toStdString();
        EXPECT_LE(line->geometry().right(), menu->width());
    }
}

// However the menu goes, the clock's flag comes down, so the next press opens a new menu. (Escape and
// the work of each button are the journey's.)
TEST_F(MenuWindow, EveryWayOfClosingLowersTheClocksFlag) {
    const std::vector<std::pair<std::string, std::function<void()>>> ways = {
        {"press elsewhere", [&] { pressAt(QPoint(3, 3)); }},
        {"a button", [&] { test::click(menu->buttons()[0]); }},
        {"deleted", [&] { delete menu.data(); }},
        {"another window active",
         [&] {
             auto* other = new QWidget;
             other->setAttribute(Qt::WA_DeleteOnClose);
             other->show();
             other->activateWindow();
             test::wait(50);
             other->close();
         }},
    };
    for (const auto& [what, closeIt] : ways) {
        pressClock();
        ASSERT_TRUE(menu) << what;
        ASSERT_TRUE(clockWindow->menuShown()) << what;
        closeIt();
        test::wait(0);
        EXPECT_FALSE(clockWindow->menuShown()) << what;
        EXPECT_FALSE(menu) << what << ": the menu deletes itself";
    }
    EXPECT_EQ(shell.dateTimeStarts, 0) << "a press far from the clock only closes the menu";
}

// The second press of a double click lands on the clock while the menu is up: the menu closes and the
// date and time settings start, as a double click on the clock does.
TEST_F(MenuWindow, SecondPressOfADoubleClickOnTheClockStartsTheDateTimeSettings) {
    pressClock();
    ASSERT_TRUE(menu);
    pressAt(clockWindow->geometry().center());
    EXPECT_EQ(shell.dateTimeStarts, 1);
    EXPECT_FALSE(clockWindow->menuShown());
}

// Each line's tool tip names its own zone's offset and next change, also after the by-time sort moved
// the captions (the text is the core's); it is worked out when the pointer rests on the line.
TEST_F(MenuWindow, LineToolTipsFollowTheirCaptions) {
    app.settings.TZSType = kSortByTime;
    app.settings.TZSDir = kSortDescending;
    choose({"Australia/Sydney", "Asia/Kathmandu", "Europe/Berlin"});
    pressClock();
    ASSERT_TRUE(menu);
    QLabel* berlin = menu->lineLabels().at(2);
    ASSERT_EQ(berlin->text(), "15:00 -  Berlin, Germany");
    EXPECT_TRUE(berlin->toolTip().isEmpty());
    QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), berlin->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(berlin, &hover);
    EXPECT_EQ(berlin->toolTip().toStdString(),
              "UTC+01:00 now; clocks go forward 1 h on 29 Mar 2026 at 02:00");
}

// The wheel over a line moves the lines' time (what they show at each moment is the core's): a turn
// is 15 minutes, with Shift an hour, with Ctrl a day; the header appears above the lines, the menu grows
// upwards from where it stands, lines in working hours are tinted, a right click copies the moment
// and a click on the header comes back to now.
TEST_F(MenuWindow, TheWheelMovesTheTimeAndTheHeaderBringsItBack) {
    choose({"Asia/Tokyo", "Europe/Berlin", "America/New_York"});
    pressClock();
    ASSERT_TRUE(menu);
    const QRect opened = menu->geometry();
    QLabel* tokyo = menu->lineLabels().at(2);
    const auto turn = [&](int angle, Qt::KeyboardModifiers keys) {
        const QPointF at(5, 5);
        QWheelEvent wheel(at, tokyo->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, keys,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(tokyo, &wheel);
    };
    turn(60, Qt::NoModifier);  // half a notch of a fine wheel: no step yet
    EXPECT_EQ(menu->scrubOffset(), 0);
    turn(60, Qt::NoModifier);
    turn(120, Qt::ShiftModifier);
    turn(240, Qt::ControlModifier);
    EXPECT_EQ(menu->scrubOffset(), 2 * 86400 + 3600 + 900);
    ASSERT_TRUE(menu->headerLabel() && menu->headerLabel()->isVisible());
    EXPECT_EQ(menu->headerLabel()->text(), "+2 days 1 h 15 min: 15:15 here");  // the home zone is UTC
    EXPECT_EQ(menu->geometry().bottom(), opened.bottom());
    EXPECT_GT(menu->height(), opened.height());
    // Saturday 17 January, 15:15 UTC: nobody is at work. Friday 16 January 14:00 UTC: Berlin and New
    // York are.
    EXPECT_FALSE(menu->lineTinted(0) || menu->lineTinted(1) || menu->lineTinted(2));
    turn(-120, Qt::ControlModifier);
    turn(-5 * 120, Qt::NoModifier);
    EXPECT_EQ(std::vector<bool>({menu->lineTinted(0), menu->lineTinted(1), menu->lineTinted(2)}),
              std::vector<bool>({true, true, false}));

    test::sendMouse(menu.data(), QEvent::MouseButtonPress, tokyo->mapToGlobal(QPoint(5, 5)), Qt::NoModifier,
                    Qt::RightButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              "23:00 Fri 16 Jan in Tokyo = 15:00 in Berlin = 09:00 in New York = 14:00 UTC");

    test::sendMouse(menu.data(), QEvent::MouseButtonPress, menu->headerLabel()->mapToGlobal(QPoint(5, 5)));
    EXPECT_EQ(menu->scrubOffset(), 0);
    EXPECT_FALSE(menu->headerLabel()->isVisible());
    EXPECT_EQ(menu->geometry(), opened);
}

}  // namespace
