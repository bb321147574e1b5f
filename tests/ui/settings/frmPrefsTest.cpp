#include "ui/settings/frmPrefs.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeView>

#include "core/settings/SettingsLoader.h"
#include "core/store/KeyPath.h"
#include "support/FakeCommonDialogs.h"
#include "support/FakeKeys.h"
#include "support/StoredValue.h"
#include "ui/WindowTestApp.h"

namespace tavrin {
namespace {

using tavrin::test::storedValue;

constexpr int kZones = 51;

// What each control sets, the scheme's colours, the zone filter and what OK stores are the core's
// rules; the window hands its controls to them, shows what they say and tells what they refused.
struct PrefsWindow : ::testing::Test, test::WindowTestApp {
    test::FakeCommonDialogs dialogs;
    std::vector<std::string> hooks;  // "applied", "saved", "about", in the order they ran
    QPointer<frmPrefs> window;

    void SetUp() override {
        auto keys = std::make_shared<tavrin::test::FakeKeys>();
        keys->add(joinKeyPath(kZoneRootNt, "Europe/Berlin"), "Display", "(GMT+01:00) Berlin, Germany");
        keys->add(joinKeyPath(kZoneRootNt, "Asia/Tokyo"), "Display", "(GMT+09:00) Tokyo, Japan");
        for (int i = 2; i < kZones; ++i) {
            const std::string n = std::to_string(10 + i);
            keys->add(joinKeyPath(kZoneRootNt, "Etc/Z" + n), "Display", "(GMT+02:00) Zone " + n);
        }
        store.mount(Root::LocalMachine, keys);
        app.settings.SettingsRoot = Root::CurrentUser;
        ASSERT_TRUE(loadSettings(store, app.settings, app.zones, "E99012"));
        app.zones.ZoneList[1] = "Europe/Berlin";
    }
    void TearDown() override { delete window.data(); }

    void open() {
        PrefsHooks h;
        h.applied = [this] { hooks.push_back("applied"); };
        h.saved = [this] { hooks.push_back("saved"); };
        h.showAbout = [this] { hooks.push_back("about"); };
        window = new frmPrefs(app, dialogs, "/opt/tavrin", "/opt/tavrin/bin/tavrin", h);
        window->show();
    }
    std::string stored(const char* name) { return storedValue(store, Root::CurrentUser, kSettingsKey, name); }
    QAbstractItemModel* rows() { return window->zoneView()->model(); }
    bool rowTicked(int row) { return rows()->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked; }
    // Chooses an item of an editable list as a user does.
    static void choose(QComboBox* combo, const QString& text) {
        const int item = combo->findText(text);
        ASSERT_GE(item, 0) << text.toStdString();
        combo->setCurrentIndex(item);
        emit combo->activated(item);
    }
};

// The chosen zones' ticks, and the list's order, show in the fiftieth tick's refusal below.
TEST_F(PrefsWindow, OpensWithTheCustomColourShownAndRunsNoRule) {
    app.settings.ColScheme = "123456";  // a custom colour: shown as such, not asked for again
    open();
    EXPECT_EQ(window->schemeBox()->currentText(), "Custom");
    EXPECT_EQ(window->schemeSwatch()->palette().color(QPalette::Window), QColor(0x56, 0x34, 0x12));
    // The opening runs no rule: nothing is asked, nothing is applied.
    EXPECT_TRUE(hooks.empty() && asker.asked.empty() && dialogs.colourRequests == 0);
}

TEST_F(PrefsWindow, ApplyChangesMemoryOnlyAndCancelKeepsIt) {
    open();
    choose(window->schemeBox(), "XP Silver");
    window->applyButton()->click();
    EXPECT_EQ(app.settings.ColScheme, "E5DBDA");
    EXPECT_EQ(window->schemeSwatch()->palette().color(QPalette::Window), QColor(218, 219, 229));
    EXPECT_EQ(stored("ColScheme"), "E99012");

    // A custom colour is in memory the moment it is picked; Cancel keeps it there and stores nothing.
    dialogs.colours.push_back(ColorChoice{0x123456, false});
    choose(window->schemeBox(), "Custom");
    EXPECT_EQ(dialogs.owners.back(), window.data());
    window->cancelButton()->click();
    test::wait(0);
    EXPECT_FALSE(window);
    EXPECT_EQ(app.settings.ColScheme + " " + stored("ColScheme"), "123456 E99012");
    EXPECT_EQ(hooks, std::vector<std::string>{"applied"});
}

// The clock's place on the panel, the snooze's minutes and where announcements show: the boxes show
// what is kept, Apply puts new values in effect, and "Reset position" puts the clock back at the
// panel's end at once and keeps that.
TEST_F(PrefsWindow, TheClocksPlaceOnThePanelAndItsReset) {
    app.settings.PanelOffset = 75;
    app.settings.SnoozeMinutes = 7;
    open();
    EXPECT_EQ(window->panelOffsetBox()->value(), 75);
    EXPECT_EQ(window->snoozeBox()->value(), 7);
    window->panelOffsetBox()->setValue(200);
    window->snoozeBox()->setValue(12);
    window->notificationsBox()->setCurrentIndex(2);
    window->applyButton()->click();
    EXPECT_EQ(std::tuple(app.settings.PanelOffset, app.settings.SnoozeMinutes, app.settings.Notifications),
              std::tuple(200, 12, 2));
    window->resetPositionButton()->click();
    EXPECT_EQ(window->panelOffsetBox()->value(), 0);
    EXPECT_EQ(stored("PanelOffset"), "0");
    EXPECT_EQ(hooks, (std::vector<std::string>{"applied", "applied"}));
}

TEST_F(PrefsWindow, SwatchesAndFontControlsChangeMemoryAtOnce) {
    open();
    dialogs.colours.push_back(ColorChoice{0x00FFFF, false});
    test::click(window->colourSwatch(1));
    EXPECT_EQ(app.settings.TForeColor, "FFFFF");
    EXPECT_EQ(window->colourSwatch(1)->palette().color(QPalette::WindowText), QColor(255, 255, 0));

    window->fontSizeBox()->setCurrentText("14");
    window->fontTargetBox()->setCurrentText("Date Display");  // the controls show the date's font
    EXPECT_EQ(window->fontSizeBox()->currentText(), "6");
    window->fontSizeBox()->setCurrentText("10");
    window->boldBox()->click();
    EXPECT_EQ(app.settings.DateSize + app.settings.DateBold + app.settings.TimeSize, "10114");
    window->fontTargetBox()->setCurrentText("Nothing");
    EXPECT_FALSE(window->fontNameBox()->isEnabled());
}

// How many zones the list takes is the core's rule; the window refuses the tick with a message.
TEST_F(PrefsWindow, FiftyFirstTickIsRefusedWithAMessage) {
    open();
    for (int row = 0; row < kZones; ++row) window->tickZone(row, true);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].title, "Tavrin System Message");
    EXPECT_NE(asker.asked[0].text.find("50"), std::string::npos);
    EXPECT_FALSE(rowTicked(kZones - 2));  // the one refused, just above Berlin's ticked row
}

// Once the store takes them, the same OK stores the zones picked through the filter and the scheme,
// has the pictures loaded again and closes.
TEST_F(PrefsWindow, RefusedSaveSaysWhyAndStaysOpenWithEverythingKeptForTheNextOk) {
    store.setReadOnly(Root::CurrentUser, true);
    open();
    choose(window->schemeBox(), "XP Olive Green");
    window->dateFormatEdit()->setText("yyyy-mm-dd");
    window->zoneFilterEdit()->setText("tokyo");
    ASSERT_EQ(rows()->rowCount(), 1);
    window->tickZone(0, true);
    window->okButton()->click();
    test::wait(0);
    ASSERT_TRUE(window);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].title, "Tavrin Error Message");
    EXPECT_NE(asker.asked[0].text.find("no permission"), std::string::npos) << asker.asked[0].text;
    EXPECT_EQ(hooks, std::vector<std::string>{"applied"});
    EXPECT_EQ(window->zoneList().checkedCount(), 2);

    store.setReadOnly(Root::CurrentUser, false);
    window->okButton()->click();
    EXPECT_EQ(stored("ColScheme") + " " + stored("DateFormat") + " " + stored("TZone1"),
              "B2E2EA yyyy-mm-dd Asia/Tokyo");
    EXPECT_EQ(hooks, (std::vector<std::string>{"applied", "applied", "saved"}));
    test::wait(0);
    EXPECT_FALSE(window);
}

TEST_F(PrefsWindow, BrowseFillsThePictureBoxForApplyToTake) {
    open();
    dialogs.files.push_back(selectionFromPaths({"/home/ann/Pictures/sky.bmp"}));
    window->browseButton()->click();
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    const OpenRequest& r = dialogs.openRequests[0];
    EXPECT_EQ(r.title + " " + r.initialDirectory + " " + r.filter[0].first,
              "Show Open /opt/tavrin/ Bitmap Image (*.BMP)");
    EXPECT_EQ(window->pictureEdit()->text(), "/home/ann/Pictures/sky.bmp");
    window->browseButton()->click();  // cancelled: the box keeps its text
    window->applyButton()->click();
    EXPECT_EQ(app.settings.BGPicture, "/home/ann/Pictures/sky.bmp");
}

TEST_F(PrefsWindow, SupportButtonOpensTheAboutBoxAndEnterInTheFilterStays) {
    open();
    window->aboutButton()->click();
    EXPECT_EQ(hooks, std::vector<std::string>{"about"});
    window->zoneFilterEdit()->setText("tokyo");
    test::pressKey(window->zoneFilterEdit(), Qt::Key_Return);
    test::wait(0);
    ASSERT_TRUE(window);
    EXPECT_EQ(hooks, std::vector<std::string>{"about"});  // no OK, no Apply
}

}  // namespace
}  // namespace tavrin
