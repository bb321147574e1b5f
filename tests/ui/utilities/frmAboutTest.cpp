#include "ui/utilities/frmAbout.h"

#include <gtest/gtest.h>

#include "core/store/KeyNames.h"
#include "core/store/MemoryStore.h"
#include "core/utilities/MakerAddresses.h"
#include "support/FakeClock.h"
#include "support/RecordingShell.h"
#include "support/ScriptedAsker.h"
#include "support/TestApp.h"

using namespace tavrin;

namespace {

struct AboutBox : ::testing::Test {
    void SetUp() override {
        test::ensureApp();
        app.settings.VersionText = "v1.0.4";
        bool created = false;
        RegKey& nt = store.tree(Root::LocalMachine).create(kNtCurrentVersionKey, created);
        nt.setValue("ProductName", ValueType::String, std::string("Debian GNU/Linux 12 (bookworm)") + '\0');
        nt.setValue("CurrentVersion", ValueType::String, std::string("12") + '\0');
    }
    MemoryStore store;
    test::FakeClock clock{DateTime::fromFields(2005, 3, 7, 21, 5, 0)};
    test::RecordingShell shell;
    test::ScriptedAsker asker;
    AppState app{store, clock, shell, asker, Paths{}};
};

TEST_F(AboutBox, LinksOpenTheMailAndTheWebSiteThroughTheShell) {
    frmAbout about(app);
    EXPECT_EQ(about.windowTitle(), "Tavrin for Windows");
    EXPECT_EQ(about.size(), QSize(370, 361));
    EXPECT_EQ(about.palette().color(QPalette::Window), QColor(255, 255, 128));

    test::click(about.Label4());
    ASSERT_EQ(shell.links.size(), 1u);
    EXPECT_EQ(
        shell.links[0],
        std::string("mailto:") + supportMailbox() +
            "?Subject=Tavrin%20for%20Win%3A%20v1.0.4"
            "&body=Application%20Version%3A%20v1.0.4%0D%0A"
            "Operating%20System%3A%20Debian%20GNU%2FLinux%2012%20%28bookworm%29%2012%20%20%20%0D%0A"
            "Date%20and%20Time%3A%203%2F7%2F2005%209%3A05%3A00%20PM%0D%0A%0D%0A"
            "Please%20document%20below%20the%20question%20you%20have%20or%20bug%20report.%0D%0A%20%0D%0A");

    test::click(about.Label2());
    ASSERT_EQ(shell.links.size(), 2u);
    EXPECT_EQ(shell.links[1], webAddress());
    EXPECT_EQ(about.Label2()->text().toStdString(), webAddress());
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(AboutBox, ALinkThatCannotOpenSaysWhyAndOkCloses) {
    frmAbout about(app);
    about.show();
    shell.answer = Result::failure("No program on this computer opens mailto: links.");
    about.OpenEMail();
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, "No program on this computer opens mailto: links.");
    test::click(about.cmdOk());
    EXPECT_FALSE(about.isVisible());
}

}  // namespace
