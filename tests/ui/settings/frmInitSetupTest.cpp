#include "ui/settings/frmInitSetup.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>

#include "core/store/MemoryStore.h"
#include "support/FakeClock.h"
#include "support/FakeCommonDialogs.h"
#include "support/RecordingShell.h"
#include "support/ScriptedAsker.h"
#include "support/StoredValue.h"
#include "support/TestApp.h"

namespace tavrin {
namespace {

using tavrin::test::storedValue;

struct SetupWindow : ::testing::Test {
    MemoryStore store;
    test::FakeClock clock;
    test::RecordingShell shell;
    test::ScriptedAsker asker;
    AppState app{store, clock, shell, asker, Paths{}};
    int finished = 0;
    test::FakeCommonDialogs dialogs;
    const int& colourDialogs = dialogs.colourRequests;
    const std::vector<OpenRequest>& openRequests = dialogs.openRequests;
    QPointer<frmInitSetup> window;

    void SetUp() override {
        test::ensureApp();
        for (int i = 0; i < 4; ++i) dialogs.colours.push_back(ColorChoice{0x00FFFF, false});  // yellow
        dialogs.files.push_back(selectionFromPaths({"/home/ann/Pictures/sky.jpg"}));
        window = new frmInitSetup(app, dialogs, [this] { ++finished; });
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
    }
    // The messages shown, as title and text.
    std::vector<std::pair<std::string, std::string>> messages() const {
        std::vector<std::pair<std::string, std::string>> out;
        for (const auto& a : asker.asked) out.emplace_back(a.title, a.text);
        return out;
    }
    void TearDown() override { delete window.data(); }

    std::string value(Root root, const char* name) { return storedValue(store, root, kSettingsKey, name); }
};

TEST_F(SetupWindow, OpensBorderlessWithTheDesignState) {
    EXPECT_EQ(window->windowTitle(), "Tavrin Initial Setup");
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window->optUser(1)->isChecked());
    EXPECT_EQ(window->optUser(0)->text(), "Me Only");
    EXPECT_EQ(window->Combo1(0)->currentText(), "Windows Version");
    EXPECT_EQ(window->Combo1(0)->count(), 3);
    EXPECT_FALSE(window->Combo1(1)->isEnabled());
    EXPECT_FALSE(window->Combo1(2)->isEnabled());
    EXPECT_EQ(window->Label3(0)->text(), "Finish!");
    EXPECT_EQ(window->Label3(1)->text(), "Browse");

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(window.data(), &escape);
    test::wait(0);
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(SetupWindow, CustomSchemeAsksForTheColourAgainOnEachWindowsChoice) {
    window->Combo1_Click(0, 1);
    EXPECT_TRUE(window->Combo1(1)->isEnabled());
    window->Combo1_Click(1, 4);  // Custom
    EXPECT_EQ(colourDialogs, 1);
    window->Combo1_Click(0, 2);
    EXPECT_EQ(colourDialogs, 2);
    test::click(window->Label3(0));
    test::wait(0);
    EXPECT_EQ(value(Root::LocalMachine, "ColScheme"), "FFFFF");
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(window);
}

TEST_F(SetupWindow, FinishWithUntouchedListsShowsTheFilledChoices) {
    window->Label3_Click(0);
    EXPECT_EQ(finished, 1);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(window->Combo1(0)->currentText(), "Windows '95/98/98SE/ME/2k/NT");
    EXPECT_EQ(window->Combo1(1)->currentText(), "Blue (Default)");
    EXPECT_EQ(window->Combo1(2)->currentText(), "System Default");
    EXPECT_EQ(value(Root::LocalMachine, "ColScheme"), "E99012");
}

TEST_F(SetupWindow, BrowseKeepsThePictureUntilFinish) {
    window->Label3_Click(1);
    ASSERT_EQ(openRequests.size(), 1u);
    EXPECT_EQ(openRequests[0].title, "Show Open");
    ASSERT_EQ(openRequests[0].filter.size(), 3u);
    EXPECT_EQ(openRequests[0].filter[0],
              std::make_pair(std::string("JPEG Image (*.JPG)"), std::string("*.jpg")));
    EXPECT_EQ(openRequests[0].initialDirectory.back(), '/');
    EXPECT_EQ(app.settings.BGPicture, "/home/ann/Pictures/sky.jpg");
    EXPECT_EQ(value(Root::LocalMachine, "BGPicture"), "<no key>");
    window->Label3_Click(0);
    EXPECT_EQ(value(Root::LocalMachine, "BGPicture"), "/home/ann/Pictures/sky.jpg");
}

TEST_F(SetupWindow, UnwritableMachineRootKeepsTheDialogOpenForMeOnly) {
    store.setReadOnly(Root::LocalMachine, true);
    window->Label3_Click(0);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].first, "Tavrin Error Message");
    EXPECT_EQ(messages()[0].second, "Warning! An error occured whilst trying to create preferences");
    EXPECT_EQ(finished, 0);
    ASSERT_TRUE(window);

    window->optUser(0)->setChecked(true);
    window->Label3_Click(0);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(value(Root::CurrentUser, "ColScheme"), "E99012");
    EXPECT_EQ(app.settings.SettingsRoot, Root::CurrentUser);
}

TEST_F(SetupWindow, NoSchemeIsToldAndFinishGoesOn) {
    window->Combo1(0)->setEditText("Debian");
    emit window->Combo1(0)->lineEdit()->textEdited("Debian");
    window->Label3_Click(0);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].first, "Tavrin");
    EXPECT_EQ(messages()[0].second, "No Color Scheme Set!");
    EXPECT_EQ(finished, 1);
}

TEST_F(SetupWindow, TypingIntoTheWindowsListLeavesTheSchemeListsAsTheyWere) {
    window->Combo1_Click(0, 1);  // Windows XP: the XP schemes
    window->Combo1(0)->setEditText("Windows XP Homex");
    emit window->Combo1(0)->lineEdit()->textEdited("Windows XP Homex");
    EXPECT_TRUE(window->Combo1(1)->isEnabled());
    EXPECT_FALSE(window->Combo1(2)->isEnabled());
    window->Label3_Click(0);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(value(Root::LocalMachine, "ColScheme"), "E99012");
}

// A disk that is full when Finish writes the settings: the message says why, and the dialog stays.
struct FullDiskStore : MemoryStore {
    std::string lastFailure() const override { return "cannot write /x/user.reg: No space left on device"; }

  protected:
    Status updateTree(Root, const TreeChange&) override { return status::kWriteFailed; }
};

TEST(SetupWindowOnAFullDisk, FinishSaysWhyTheSettingsCouldNotBeWritten) {
    test::ensureApp();
    FullDiskStore store;
    test::FakeClock clock;
    test::RecordingShell shell;
    test::ScriptedAsker asker;
    AppState app{store, clock, shell, asker, Paths{}};
    test::FakeCommonDialogs dialogs;
    int finished = 0;
    frmInitSetup window(app, dialogs, [&finished] { ++finished; });
    window.show();
    window.optUser(0)->setChecked(true);
    window.Label3_Click(0);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text,
              "Warning! An error occured whilst trying to create preferences\n\ncannot write /x/user.reg: No "
              "space left on device.");
    EXPECT_EQ(finished, 0);
    EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace tavrin
