#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/QtApplication.h"
#include "support/FileText.h"
#include "support/TempDir.h"
#include "support/TestApp.h"
#include "ui/clock/frmClock.h"
#include "ui/clock/frmMenu.h"
#include "ui/reminders/ReminderWindows.h"
#include "ui/reminders/frmCal.h"
#include "ui/settings/frmPrefs.h"

namespace fs = std::filesystem;
using namespace tavrin;

namespace {

template <typename Window>
std::vector<Window*> shown() {
    std::vector<Window*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(w); window && window->isVisible()) found.push_back(window);
    return found;
}

// Presses the clock and the menu's preferences button.
frmPrefs* openPreferences(frmClock& clock) {
    test::click(&clock);
    const auto menus = shown<frmMenu>();
    if (menus.size() != 1) return nullptr;
    menus[0]->clickButton(4);
    test::wait(0);
    const auto prefs = shown<frmPrefs>();
    return prefs.size() == 1 ? prefs[0] : nullptr;
}

}  // namespace

// A user picks two zones through the filter, a time format and a scheme; OK shows them on the clock
// at once and in the next menu.
TEST(PreferencesJourney, ChangesFromTheMenuReachTheClockAndTheNextMenu) {
    tavrin::test::TempDir root{"tavrin-prefs"};
    for (const auto& [variable, sub] : {std::pair{"XDG_CONFIG_HOME", "config"},
                                        {"XDG_CONFIG_DIRS", "configdirs"},
                                        {"XDG_DATA_HOME", "data"},
                                        {"XDG_RUNTIME_DIR", "runtime"}}) {
        fs::create_directories(root.file(sub));
        setenv(variable, root.file(sub).c_str(), 1);
    }
    fs::permissions(root.file("runtime"), fs::perms::owner_all);
    setenv("TZDIR", TAVRIN_TEST_DATA "/zoneinfo", 1);
    fs::create_directories(root.file("config/tavrin"));
    std::ofstream(root.file("config/tavrin/user.reg"))
        << "REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n\"ColScheme\"=\"C8D0D4\"\n";
    test::ensureApp();

    QtApplication app;
    app.start();
    frmClock& clock = *app.clockWindow();
    const int composed = clock.compositions();
    frmPrefs* prefs = openPreferences(clock);
    ASSERT_NE(prefs, nullptr);
    for (const char* zone : {"tokyo", "berlin"}) {
        prefs->txtZoneFilter()->setText(zone);
        prefs->tickZone(0, true);
    }
    prefs->txtFTime()->setText("HH:MM:SS");
    // An open calendar takes the new menu colour with Apply, as a swatch would set it.
    frmCal* calendar = app.reminderWindows()->showCalendar();
    app.state().settings.WForeColor = "FF";
    prefs->Command4()->click();
    bool red = false;
    for (QLabel* label : calendar->findChildren<QLabel*>())
        red = red || label->palette().color(QPalette::WindowText) == QColor(255, 0, 0);
    EXPECT_TRUE(red);
    const int silver = prefs->Combo7()->findText("XP Silver");
    prefs->Combo7()->setCurrentIndex(silver);
    emit prefs->Combo7()->activated(silver);
    prefs->Command2()->click();
    test::wait(0);
    EXPECT_TRUE(shown<frmPrefs>().empty());

    // Recomposed at once, on the new colour (the test has no pictures beside it to load).
    EXPECT_GT(clock.compositions(), composed);
    EXPECT_EQ(clock.frame().pixelColor(0, 0), QColor(218, 219, 229));
    EXPECT_EQ(std::count(clock.TimeText().begin(), clock.TimeText().end(), ':'), 2) << clock.TimeText();
    EXPECT_EQ(clock.tickPace(), TickPace::EachSecond);  // the seconds shown need a tick each second
    const std::string stored = tavrin::test::readFile(root.file("config/tavrin/user.reg"));
    for (const char* line :
         {"\"TimeFormat\"=\"HH:MM:SS\"", "\"ColScheme\"=\"E5DBDA\"", "\"NumTimeZones\"=\"2\"",
          "\"TZone1\"=\"Asia/Tokyo\"", "\"TZone2\"=\"Europe/Berlin\""})
        EXPECT_NE(stored.find(line), std::string::npos) << line << "\n" << stored;

    test::click(&clock);
    const auto menus = shown<frmMenu>();
    ASSERT_EQ(menus.size(), 1u);
    ASSERT_EQ(menus[0]->lineLabels().size(), 2u);
    QString lines;
    for (QLabel* line : menus[0]->lineLabels()) lines += line->text() + "\n";
    EXPECT_TRUE(lines.contains("Tokyo") && lines.contains("Berlin")) << lines.toStdString();
    menus[0]->close();
    test::wait(0);

    // The button finds the dialog already open rather than making a second one.
    prefs = openPreferences(clock);
    ASSERT_NE(prefs, nullptr);
    ASSERT_NE(openPreferences(clock), nullptr);
    EXPECT_EQ(shown<frmPrefs>().size(), 1u);
    prefs->close();
    calendar->close();
    test::wait(0);
    unsetenv("TZDIR");
}
