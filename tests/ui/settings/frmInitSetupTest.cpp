#include "ui/settings/frmInitSetup.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>

#include "support/FakeCommonDialogs.h"
#include "support/StoredValue.h"
#include "ui/WindowTestApp.h"

namespace tavrin {
namespace {

using tavrin::test::storedValue;

// A disk that is full where the settings for everyone live.
struct FullMachineDisk : MemoryStore {
    std::string takeFailure() override { return "disk full"; }

  protected:
    Status updateTree(Root root, const TreeChange& change) override {
        return root == Root::LocalMachine ? status::kWriteFailed : MemoryStore::updateTree(root, change);
    }
};

// Which scheme the lists give and what Finish writes where are the core's rules; the window keeps its
// lists in step, asks for colours and pictures, and says why Finish failed.
template <class Store>
struct SetupWindowOn : ::testing::Test, test::WindowTestAppOn<Store> {
    int finished = 0;
    test::FakeCommonDialogs dialogs;
    QPointer<frmInitSetup> window;

    void SetUp() override {
        for (int i = 0; i < 4; ++i) dialogs.colours.push_back(ColorChoice{0x00FFFF, false});  // yellow
        dialogs.files.push_back(selectionFromPaths({"/home/ann/Pictures/sky.jpg"}));
        window = new frmInitSetup(this->app, dialogs, [this] { ++finished; });
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
    }
    void TearDown() override { delete window.data(); }
    std::string value(Root root, const char* name) {
        return storedValue(this->store, root, kSettingsKey, name);
    }
};
struct SetupWindow : SetupWindowOn<MemoryStore> {};
struct SetupWindowOnAFullDisk : SetupWindowOn<FullMachineDisk> {};

// That it opens on "All Who Use This Computer" shows in where Finish with the first choices writes.
TEST_F(SetupWindow, OpensWithItsFirstChoicesAndEscapeLeavesItOpen) {
    EXPECT_EQ(window->schemeBox(SetupList::Windows)->currentText(), "Windows Version");
    EXPECT_FALSE(window->schemeBox(SetupList::XpSchemes)->isEnabled() ||
                 window->schemeBox(SetupList::NinexSchemes)->isEnabled());

    test::pressKey(window.data(), Qt::Key_Escape);
    test::wait(0);
    EXPECT_TRUE(window && window->isVisible());
}

TEST_F(SetupWindow, CustomSchemeAsksForTheColourAgainOnEachWindowsChoice) {
    window->chooseScheme(SetupList::Windows, 1);
    window->chooseScheme(SetupList::XpSchemes, 4);  // Custom
    EXPECT_EQ(dialogs.colourRequests, 1);
    window->chooseScheme(SetupList::Windows, 2);
    EXPECT_EQ(dialogs.colourRequests, 2);
    test::click(window->finishLink());
    test::wait(0);
    EXPECT_EQ(value(Root::LocalMachine, "ColScheme"), "FFFFF");
    EXPECT_FALSE(window);
}

// Finish with the lists untouched takes their first choices and shows them filled in.
TEST_F(SetupWindow, BrowsedPictureIsKeptUntilFinishWhichTakesTheFirstChoices) {
    window->browse();
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    const OpenRequest& r = dialogs.openRequests[0];
    EXPECT_EQ(r.filter.at(0).first + " " + r.filter.at(0).second, "JPEG Image (*.JPG) *.jpg");
    EXPECT_EQ(app.settings.BGPicture, "/home/ann/Pictures/sky.jpg");
    EXPECT_EQ(value(Root::LocalMachine, "BGPicture"), "<no key>");
    window->finish();
    EXPECT_EQ(value(Root::LocalMachine, "BGPicture"), "/home/ann/Pictures/sky.jpg");
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(window->schemeBox(SetupList::Windows)->currentText() + "|" +
                  window->schemeBox(SetupList::XpSchemes)->currentText() + "|" +
                  window->schemeBox(SetupList::NinexSchemes)->currentText(),
              "Windows '95/98/98SE/ME/2k/NT|Blue (Default)|System Default");
}

// Typed text that names no Windows version chooses no scheme: Finish says so and goes on.
TEST_F(SetupWindow, NoSchemeIsToldAndFinishGoesOn) {
    window->schemeBox(SetupList::Windows)->setEditText("Debian");
    emit window->schemeBox(SetupList::Windows)->lineEdit()->textEdited("Debian");
    window->finish();
    EXPECT_EQ(
        asker.asked,
        (std::vector<test::ScriptedAsker::Asked>{{"Tavrin", "No Color Scheme Set!", MessageIcon::Stop}}));
    EXPECT_EQ(finished, 1);
}

TEST_F(SetupWindowOnAFullDisk, FinishSaysWhyAndStaysOpenAndMeOnlyThenWorks) {
    window->finish();
    EXPECT_EQ(asker.asked,
              (std::vector<test::ScriptedAsker::Asked>{
                  {"Tavrin Error Message",
                   "Warning! An error occured whilst trying to create preferences\n\ndisk full."}}));
    EXPECT_EQ(finished, 0);
    EXPECT_TRUE(window->isVisible());

    window->meOnlyButton()->setChecked(true);
    window->finish();
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(value(Root::CurrentUser, "ColScheme"), "E99012");
}

}  // namespace
}  // namespace tavrin
