// The program's start-up and its windows' wiring, run in the test against a user's own folders: what
// the setup says when it cannot write, that each menu button keeps one window, that the preferences'
// Apply reaches the windows already open, and that the clock hears of another program's reminders.
// The journey (tests/journey) walks the rest as a user would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/QtApplication.h"
#include "core/settings/Settings.h"
#include "support/ReminderTestSupport.h"
#include "support/ScratchHome.h"
#include "support/TestApp.h"
#include "ui/clock/frmClock.h"
#include "ui/reminders/QtReminderAnnouncer.h"
#include "ui/reminders/ReminderWindows.h"
#include "ui/reminders/frmCal.h"
#include "ui/settings/frmInitSetup.h"
#include "ui/settings/frmPrefs.h"

namespace fs = std::filesystem;

namespace {

class ProgramStart : public ::testing::Test {
  protected:
    void SetUp() override {
        home.enter();
        tavrin::test::ensureApp();
    }
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets()) w->close();
        tavrin::test::wait(0);
    }

    // The number of shown windows titled `title`.
    static int shown(const QString& title) {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle() == title) ++n;
        return n;
    }

    tavrin::test::ScratchHome home{"tavrin-start"};
};

}  // namespace

// An ordinary user cannot write the settings for everyone (a plain file stands where their folder
// would be, which stops root as well): the setup opens on "Me Only" and says why the other choice
// needs more, and a "Finish!" for everyone all the same says what could not be written, and where.
TEST_F(ProgramStart, ASetupThatCannotWriteForEveryoneOpensOnMeOnlyAndFinishSaysWhy) {
    tavrin::test::writeFile(home.file("configdirs/plain-file"), "");
    const std::string machineDir = home.file("configdirs/plain-file/xdg");
    setenv("XDG_CONFIG_DIRS", machineDir.c_str(), 1);
    tavrin::QtApplication app;
    app.start();
    tavrin::frmInitSetup* setup = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* s = qobject_cast<tavrin::frmInitSetup*>(w); s && s->isVisible()) setup = s;
    ASSERT_NE(setup, nullptr);
    EXPECT_TRUE(setup->meOnlyButton()->isChecked());
    EXPECT_EQ(setup->everyoneButton()->text(), "All Who Use This Computer (needs administrator rights)");

    setup->everyoneButton()->setChecked(true);
    std::string told;
    QTimer::singleShot(0, [&told] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told = box->text().toStdString();
            box->accept();
        }
    });
    setup->finish();
    EXPECT_EQ(told, "Warning! An error occured whilst trying to create preferences\n\ncannot write " +
                        machineDir + "/tavrin/machine.reg: Permission denied.");
    EXPECT_EQ(app.clockWindow(), nullptr);
}

TEST_F(ProgramStart, EachMenuButtonKeepsOneWindowAndReviewingOpensTheManager) {
    home.seedSettings("\"ColScheme\"=\"E99012\"\n");
    tavrin::QtApplication app;
    ASSERT_TRUE(app.start());
    ASSERT_NE(app.reminderWindows(), nullptr);
    const tavrin::MenuActions actions = app.menuActions();
    for (int i = 0; i < 2; ++i) {
        actions.openCalendar();
        actions.openAlarm();
        actions.openPreferences();
    }
    EXPECT_EQ(shown("Calendar"), 1);
    EXPECT_EQ(shown("Alarm"), 1);
    EXPECT_EQ(shown("Tavrin for Windows: Preferences"), 1);
    // The about box holds up nothing: the preferences under it stay usable.
    tavrin::frmPrefs* prefs = app.showPreferences();
    for (int i = 0; i < 2; ++i) prefs->aboutButton()->click();
    EXPECT_EQ(shown("Tavrin for Windows"), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(prefs->isEnabled());
    // "Yes" to the review question of recurring reminders.
    app.announcer()->openManager();
    EXPECT_EQ(shown("Reminders"), 1);
    EXPECT_NE(app.reminderWindows()->manager(), nullptr);
}

// Apply shows a change at once in the windows already open: the calendar takes the new menu colour
// (as a swatch would set it), the clock a time with seconds, and a tick each second for them.
TEST_F(ProgramStart, ApplyReachesTheOpenCalendarAndTheClockAtOnce) {
    home.seedSettings("\"ColScheme\"=\"C8D0D4\"\n");
    tavrin::QtApplication app;
    ASSERT_TRUE(app.start());
    tavrin::frmClock& clock = *app.clockWindow();
    tavrin::frmCal* calendar = app.reminderWindows()->showCalendar();
    tavrin::frmPrefs* prefs = app.showPreferences();
    prefs->timeFormatEdit()->setText("HH:MM:SS");
    app.state().settings.WForeColor = "FF0000";  // blue: today is red whatever the colour
    prefs->applyButton()->click();
    bool blue = false;
    for (QLabel* label : calendar->findChildren<QLabel*>())
        blue = blue || label->palette().color(QPalette::WindowText) == QColor(0, 0, 255);
    EXPECT_TRUE(blue);
    EXPECT_EQ(std::count(clock.timeText().begin(), clock.timeText().end(), ':'), 2) << clock.timeText();
    EXPECT_EQ(clock.tickPace(), tavrin::TickPace::EachSecond);
}

// A reminder added by another program while the clock runs is in the clock's table before its next
// due check, without a restart.
TEST_F(ProgramStart, AReminderFileChangedByAnotherProgramIsReloaded) {
    home.seedSettings("\"ColScheme\"=\"E99012\"\n");
    tavrin::QtApplication app;
    ASSERT_TRUE(app.start());
    EXPECT_EQ(app.state().reminders.titles[0], "");
    // Saved as every writer saves: a new file renamed over the old.
    fs::create_directories(home.file("data/tavrin"));
    tavrin::test::writeFile(home.reminderFile() + ".new", tavrin::test::recordText("From elsewhere"));
    fs::rename(home.reminderFile() + ".new", home.reminderFile());
    for (int i = 0; i < 50 && app.state().reminders.titles[0].empty(); ++i) tavrin::test::wait(20);
    EXPECT_EQ(app.state().reminders.titles[0], "From elsewhere");
}
