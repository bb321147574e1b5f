#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/QtApplication.h"
#include "clock/frmClock.h"
#include "settings/Settings.h"

namespace fs = std::filesystem;

namespace {

// Runs the program's start-up against folders of its own, as a user would meet it.
class ProgramStart : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tavrin-start-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        for (const char* sub : {"config", "configdirs", "data", "runtime"}) fs::create_directories(root_ / sub);
        fs::permissions(root_ / "runtime", fs::perms::owner_all);
        setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (root_ / "configdirs").c_str(), 1);
        setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (root_ / "runtime").c_str(), 1);
        static int argc = 1;
        static char name[] = "tavrin";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }
    void TearDown() override { fs::remove_all(root_); }

    static std::string Read(const fs::path& p) {
        std::ifstream in(p);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path root_;
};

}  // namespace

TEST_F(ProgramStart, AUserFileHoldingOnlyTheSchemeIsCompletedAndTheClockShows) {
    const fs::path userFile = root_ / "config/tavrin/user.reg";
    fs::create_directories(userFile.parent_path());
    std::ofstream(userFile) << "REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n\"ColScheme\"=\"E99012\"\n";

    tavrin::QtApplication app;
    app.start();
    ASSERT_NE(app.clockWindow(), nullptr);
    EXPECT_TRUE(app.clockWindow()->isVisible());
    EXPECT_EQ(app.state().settings.SettingsRoot, tavrin::Root::CurrentUser);

    const std::string stored = Read(userFile);
    for (const char* line : {"\"DateFormat\"=\"mm/dd/yy\"", "\"TimeFormat\"=\"h:mm AM/PM\"",
                             "\"TZFormat\"=\"mm/dd/yy h:mm am/pm\"", "\"TimeFont\"=\"ARIAL\"",
                             "\"DateBold\"=\"0\"", "\"ColScheme\"=\"E99012\""})
        EXPECT_NE(stored.find(line), std::string::npos) << line;
    EXPECT_EQ(stored.find("BGPicture"), std::string::npos);
    EXPECT_TRUE(fs::exists(root_ / "runtime/tavrin.lock"));
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
    EXPECT_FALSE(fs::exists(root_ / "config/tavrin/user.reg"));
    EXPECT_FALSE(fs::exists(root_ / "configdirs/tavrin/machine.reg"));
    for (QWidget* w : QApplication::topLevelWidgets()) w->close();
}
