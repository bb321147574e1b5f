#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/QtApplication.h"
#include "core/settings/Settings.h"
#include "support/FileText.h"
#include "support/TempDir.h"
#include "support/TestApp.h"
#include "ui/clock/frmClock.h"
#include "ui/reminders/QtReminderAnnouncer.h"
#include "ui/reminders/ReminderWindows.h"
#include "ui/settings/frmInitSetup.h"
#include "ui/settings/frmPrefs.h"

namespace fs = std::filesystem;

namespace {

// Runs the program's start-up against folders of its own, as a user would meet it.
class ProgramStart : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const auto& [variable, sub] : {std::pair{"XDG_CONFIG_HOME", "config"},
                                            {"XDG_CONFIG_DIRS", "configdirs"},
                                            {"XDG_DATA_HOME", "data"},
                                            {"XDG_RUNTIME_DIR", "runtime"}}) {
            fs::create_directories(root.file(sub));
            setenv(variable, root.file(sub).c_str(), 1);
        }
        fs::permissions(root.file("runtime"), fs::perms::owner_all);
        tavrin::test::ensureApp();
    }

    tavrin::test::TempDir root{"tavrin-start"};
};

}  // namespace

TEST_F(ProgramStart, AUserFileHoldingOnlyTheSchemeIsCompletedAndTheClockShows) {
    const std::string userFile = root.file("config/tavrin/user.reg");
    fs::create_directories(root.file("config/tavrin"));
    std::ofstream(userFile) << "REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n\"ColScheme\"=\"E99012\"\n";

    tavrin::QtApplication app;
    app.start();
    ASSERT_NE(app.clockWindow(), nullptr);
    EXPECT_TRUE(app.clockWindow()->isVisible());
    EXPECT_EQ(app.state().settings.SettingsRoot, tavrin::Root::CurrentUser);

    const std::string stored = tavrin::test::readFile(userFile);
    for (const char* line : {"\"DateFormat\"=\"mm/dd/yy\"", "\"TimeFormat\"=\"h:mm AM/PM\"",
                             "\"TZFormat\"=\"mm/dd/yy h:mm am/pm\"", "\"TimeFont\"=\"ARIAL\"",
                             "\"DateBold\"=\"0\"", "\"ColScheme\"=\"E99012\""})
        EXPECT_NE(stored.find(line), std::string::npos) << line;
    EXPECT_EQ(stored.find("BGPicture"), std::string::npos);
    // The texts are the settings' own patterns of now.
    EXPECT_NE(app.clockWindow()->TimeText().find('M'), std::string::npos);
}

TEST_F(ProgramStart, WithoutSettingsTheSetupDialogComesFirstAndNothingIsWritten) {
    tavrin::QtApplication app;
    app.start();
    EXPECT_EQ(app.clockWindow(), nullptr);
    bool setupShown = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == QStringLiteral("Tavrin Initial Setup")) setupShown = true;
    EXPECT_TRUE(setupShown);
    EXPECT_FALSE(fs::exists(root.file("config/tavrin/user.reg")));
    EXPECT_FALSE(fs::exists(root.file("configdirs/tavrin/machine.reg")));
    for (QWidget* w : QApplication::topLevelWidgets()) w->close();
}

// An ordinary user cannot write the settings for everyone (a plain file stands where their folder
// would be, which stops root as well): the setup opens on "Me Only" and says why the other choice
// needs more, and a "Finish!" for everyone all the same says what could not be written, and where.
TEST_F(ProgramStart, ASetupThatCannotWriteForEveryoneOpensOnMeOnlyAndFinishSaysWhy) {
    tavrin::test::writeFile(root.file("configdirs/plain-file"), "");
    const std::string machineDir = root.file("configdirs/plain-file/xdg");
    setenv("XDG_CONFIG_DIRS", machineDir.c_str(), 1);
    tavrin::QtApplication app;
    app.start();
    // The setup closed by the test before may not be deleted yet: this start's is the one shown.
    tavrin::frmInitSetup* setup = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* s = qobject_cast<tavrin::frmInitSetup*>(w); s && s->isVisible()) setup = s;
    ASSERT_NE(setup, nullptr);
    EXPECT_TRUE(setup->optUser(0)->isChecked());
    EXPECT_EQ(setup->optUser(1)->text(), "All Who Use This Computer (needs administrator rights)");

    setup->optUser(1)->setChecked(true);
    std::string told;
    QTimer::singleShot(0, [&told] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told = box->text().toStdString();
            box->accept();
        }
    });
    setup->Label3_Click(0);
    EXPECT_EQ(told, "Warning! An error occured whilst trying to create preferences\n\ncannot write " +
                        machineDir + "/tavrin/machine.reg: Permission denied.");
    EXPECT_EQ(app.clockWindow(), nullptr);
    for (QWidget* w : QApplication::topLevelWidgets()) w->close();
}

TEST_F(ProgramStart, MenuButtonsOpenTheCalendarTheAlarmAndTheAboutBoxOnceEachAndReviewingOpensTheManager) {
    fs::create_directories(root.file("config/tavrin"));
    std::ofstream(root.file("config/tavrin/user.reg"))
        << "REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n\"ColScheme\"=\"E99012\"\n";
    tavrin::QtApplication app;
    app.start();
    ASSERT_NE(app.reminderWindows(), nullptr);
    const auto shown = [](const QString& title) {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle() == title) ++n;
        return n;
    };
    const tavrin::MenuActions actions = app.menuActions();
    for (int i = 0; i < 2; ++i) {
        actions.openCalendar();
        actions.openAlarm();
    }
    EXPECT_EQ(shown("Calendar"), 1);
    EXPECT_EQ(shown("Alarm"), 1);
    // The about box holds up nothing: the preferences under it stay usable.
    tavrin::frmPrefs* prefs = app.showPreferences();
    for (int i = 0; i < 2; ++i) prefs->Command3()->click();
    EXPECT_EQ(shown("Tavrin for Windows"), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(prefs->isEnabled());
    // "Yes" to the review question of recurring reminders.
    app.announcer()->openManager();
    EXPECT_EQ(shown("Reminders"), 1);
    EXPECT_NE(app.reminderWindows()->manager(), nullptr);
    for (QWidget* w : QApplication::topLevelWidgets()) w->close();
}

// A reminder added by another program while the clock runs is in the clock's table before its next
// due check, without a restart.
TEST_F(ProgramStart, AReminderFileChangedByAnotherProgramIsReloaded) {
    fs::create_directories(root.file("config/tavrin"));
    std::ofstream(root.file("config/tavrin/user.reg"))
        << "REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n\"ColScheme\"=\"E99012\"\n";
    tavrin::QtApplication app;
    ASSERT_TRUE(app.start());
    ASSERT_NE(app.clockWindow(), nullptr);
    EXPECT_EQ(app.state().reminders.RemTitle[0], "");
    fs::create_directories(root.file("data/tavrin"));
    std::ofstream(root.file("data/tavrin/Tavrin.DAT.new"), std::ios::binary)
        << "\"<START>\"\r\n\"From elsewhere\"\r\n\"03/07/05\"\r\n\"09:30:00\"\r\n\"1\"\r\n\"-1\"\r\n\"\"\r\n"
           "\"</END>\"\r\n";
    fs::rename(root.file("data/tavrin/Tavrin.DAT.new"), root.file("data/tavrin/Tavrin.DAT"));
    for (int i = 0; i < 50 && app.state().reminders.RemTitle[0].empty(); ++i) tavrin::test::wait(20);
    EXPECT_EQ(app.state().reminders.RemTitle[0], "From elsewhere");
}
