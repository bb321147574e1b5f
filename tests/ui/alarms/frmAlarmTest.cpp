#include "ui/alarms/frmAlarm.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include "support/FakeCommonDialogs.h"
#include "support/FileText.h"
#include "support/Recorders.h"
#include "support/TempDir.h"
#include "ui/WindowTestApp.h"

namespace tavrin {
namespace {

using Asked = test::ScriptedAsker::Asked;

// The machine runs on UTC at 14:58:40 on 14 March 2026; Tokyo (UTC+9) and Berlin (UTC+1) are chosen.
// The rules of the times armed are the core's; here the controls reach them and show what they say.
struct AlarmDialog : ::testing::Test, test::WindowTestApp {
    test::RecordingSound sound;
    test::FakeCommonDialogs dialogs;
    test::TempDir dir{"tavrin-alarmdlg"};

    AlarmDialog() : test::WindowTestApp(DateTime::fromFields(2026, 3, 14, 14, 58, 40)) {
        mountZones();
        app.zones.ZoneList[1] = "Asia/Tokyo";
        app.zones.ZoneList[2] = "Europe/Berlin";
        app.zones.HomeZone = readZone(store, kZoneRootNt, "Etc/UTC");
        app.settings.TimeFormat = "h:mm AM/PM";
    }
    frmAlarm* open() {
        auto* w = new frmAlarm(app, sound, dialogs);
        w->show();
        return w;
    }
};

// What the lists hold shows in what OK arms, below.
TEST_F(AlarmDialog, ShowsTheCustomBoxesOnlyOnCustom) {
    frmAlarm* w = open();
    EXPECT_FALSE(w->Text2()->isVisibleTo(w));
    w->Combo1()->setCurrentIndex(8);
    w->Combo1_Click();
    EXPECT_TRUE(w->Text2()->isVisibleTo(w) && w->Text3()->isVisibleTo(w));
    w->Combo1()->setCurrentIndex(0);
    w->Combo1_Click();
    EXPECT_FALSE(w->Text2()->isVisibleTo(w));
    w->Combo3()->setCurrentIndex(6);
    w->Combo3_Click();
    EXPECT_TRUE(w->Text5()->isVisibleTo(w) && w->Combo5()->isVisibleTo(w));
}

// The zones are taken as the dialog offered them, though the preferences saved another list meanwhile.
TEST_F(AlarmDialog, OkArmsWhatEachControlSaysAndCloses) {
    frmAlarm* w = open();
    w->Combo1()->setCurrentIndex(1);  // "10 Mins"
    w->Combo2()->setCurrentIndex(1);  // Tokyo, where it is 23:58:40
    w->Text4()->setText("/sounds/ring.wav");
    w->Text1()->setText("Tea is ready");
    w->Combo3()->setCurrentIndex(2);  // "12:00 PM"
    w->Combo4()->setCurrentIndex(2);  // Berlin
    app.zones.ZoneList[1] = "America/New_York";
    app.zones.ZoneList[2] = "Asia/Tokyo";
    app.zones.ZoneList[3] = "Europe/Berlin";
    QPointer<frmAlarm> alive(w);
    w->Command1_Click(1);
    test::wait(0);
    EXPECT_TRUE(alive.isNull()) << "OK closes the dialog";
    const AlarmState& a = app.alarms;
    EXPECT_EQ(a.AlarmTime + " " + a.AlarmZone.DisplayText, "00:08:00 (GMT+09:00) Tokyo, Japan");
    EXPECT_EQ(a.AlarmSound + "|" + a.AlarmMessage, "/sounds/ring.wav|Tea is ready");
    EXPECT_EQ(a.WarningTime + " " + a.WarningZone.DisplayText, "12:00 PM (GMT+01:00) Berlin, Germany");
    EXPECT_EQ(open()->status()->text(),
              "A Warning set for: 12:00 PM in (GMT+01:00) Berlin, Germany\nAlarm set for: 00:08:00");
}

TEST_F(AlarmDialog, ARefusedCustomDelayIsToldAndItsBoxesShowTheCorrectionAndCancelDisarms) {
    frmAlarm* w = open();
    w->Combo1()->setCurrentIndex(8);
    w->Text2()->setText("123");
    w->Command1_Click(1);
    EXPECT_EQ(asker.asked,
              (std::vector<Asked>{{"Tavrin Warning Dialog", "Warning! Custom time out of range"}}));
    EXPECT_EQ(w->Text2()->text() + ":" + w->Text3()->text(), "0:1");
    EXPECT_EQ(app.alarms.AlarmTime, "14:59:00");

    app.alarms.WarningOn = true;
    w = open();
    w->Combo1()->setCurrentIndex(3);
    w->Command1_Click(0);
    EXPECT_FALSE(app.alarms.AlarmOn || app.alarms.WarningOn);
}

TEST_F(AlarmDialog, BrowseFillsItsOwnSoundBoxAndTestSoundPlaysTheAlarmsFirst) {
    frmAlarm* w = open();
    dialogs.files.push_back(selectionFromPaths({dir.file("bell.wav")}));
    dialogs.files.push_back(selectionFromPaths({dir.file("b.wav"), dir.file("a.wav")}));
    w->Command1_Click(2);
    EXPECT_EQ(w->Text4()->text().toStdString(), dir.file("bell.wav"));
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    const OpenRequest& asked = dialogs.openRequests[0];
    EXPECT_EQ(asked.filter, (std::vector<std::pair<std::string, std::string>>{{"Wave Sound File", "*.wav"}}));
    EXPECT_TRUE(dialogs.owners[0] == w && dialogs.centred[0]);
    w->Command1_Click(4);  // several chosen: the first one
    w->Command1_Click(4);  // cancelled: the box keeps its path
    EXPECT_EQ(w->Text7()->text().toStdString(), dir.file("b.wav"));

    // A sound that cannot be read, or none, is told.
    test::writeFile(dir.file("b.wav"), "RIFF");
    w->Command1_Click(3);
    w->Text4()->clear();
    w->Command1_Click(3);
    w->Text7()->clear();
    w->Command1_Click(3);
    EXPECT_EQ(sound.events, std::vector<std::string>{dir.file("b.wav")});
    EXPECT_EQ(asker.asked,
              (std::vector<Asked>{
                  {"Tavrin System Message", "The sound file " + dir.file("bell.wav") + " cannot be read."},
                  {"Tavrin System Message", "No sound file selected!"}}));
}

}  // namespace
}  // namespace tavrin
