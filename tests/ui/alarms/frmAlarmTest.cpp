#include "ui/alarms/frmAlarm.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

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
        app.zones.HomeZone = readZone(store, kZoneRootNt, "Etc/UTC").value();
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
    EXPECT_FALSE(w->alarmHoursEdit()->isVisibleTo(w));
    w->alarmPresetBox()->setCurrentIndex(8);
    w->alarmPresetChosen();
    EXPECT_TRUE(w->alarmHoursEdit()->isVisibleTo(w) && w->alarmMinutesEdit()->isVisibleTo(w));
    w->alarmPresetBox()->setCurrentIndex(0);
    w->alarmPresetChosen();
    EXPECT_FALSE(w->alarmHoursEdit()->isVisibleTo(w));
    w->warningPresetBox()->setCurrentIndex(6);
    w->warningPresetChosen();
    EXPECT_TRUE(w->warningHourEdit()->isVisibleTo(w) && w->warningHalfBox()->isVisibleTo(w));
}

// The zones are taken as the dialog offered them, though the preferences saved another list meanwhile.
TEST_F(AlarmDialog, OkArmsWhatEachControlSaysAndCloses) {
    frmAlarm* w = open();
    w->alarmPresetBox()->setCurrentIndex(1);  // "10 Mins"
    w->alarmZoneBox()->setCurrentIndex(1);    // Tokyo, where it is 23:58:40
    w->alarmSoundEdit()->setText("/sounds/ring.wav");
    w->alarmMessageEdit()->setText("Tea is ready");
    w->warningPresetBox()->setCurrentIndex(2);  // "12:00 PM"
    w->warningZoneBox()->setCurrentIndex(2);    // Berlin
    app.zones.ZoneList[1] = "America/New_York";
    app.zones.ZoneList[2] = "Asia/Tokyo";
    app.zones.ZoneList[3] = "Europe/Berlin";
    QPointer<frmAlarm> alive(w);
    w->okButton()->click();
    test::wait(0);
    EXPECT_TRUE(alive.isNull()) << "OK closes the dialog";
    const AlarmState& a = app.alarms;
    EXPECT_EQ(a.alarmTime + " " + a.alarmZone.DisplayText, "00:08:00 (GMT+09:00) Tokyo, Japan");
    EXPECT_EQ(a.alarmSound + "|" + a.alarmMessage, "/sounds/ring.wav|Tea is ready");
    EXPECT_EQ(a.warningTime + " " + a.warningZone.DisplayText, "12:00 PM (GMT+01:00) Berlin, Germany");
    EXPECT_EQ(open()->status()->text(),
              "A Warning set for: 12:00 PM in (GMT+01:00) Berlin, Germany\nAlarm set for: 00:08:00");
}

TEST_F(AlarmDialog, ARefusedCustomDelayIsToldAndItsBoxesShowTheCorrectionAndCancelDisarms) {
    frmAlarm* w = open();
    w->alarmPresetBox()->setCurrentIndex(8);
    w->alarmHoursEdit()->setText("123");
    w->okButton()->click();
    EXPECT_EQ(asker.asked,
              (std::vector<Asked>{{"Tavrin Warning Dialog", "Warning! Custom time out of range"}}));
    EXPECT_EQ(w->alarmHoursEdit()->text() + ":" + w->alarmMinutesEdit()->text(), "0:1");
    EXPECT_EQ(app.alarms.alarmTime, "14:59:00");

    app.alarms.warningOn = true;
    w = open();
    w->alarmPresetBox()->setCurrentIndex(3);
    w->cancelButton()->click();
    EXPECT_FALSE(app.alarms.alarmOn || app.alarms.warningOn);
}

TEST_F(AlarmDialog, BrowseFillsItsOwnSoundBoxAndTestSoundPlaysTheAlarmsFirst) {
    frmAlarm* w = open();
    dialogs.files.push_back(selectionFromPaths({dir.file("bell.wav")}));
    dialogs.files.push_back(selectionFromPaths({dir.file("b.wav"), dir.file("a.wav")}));
    w->alarmBrowseButton()->click();
    EXPECT_EQ(w->alarmSoundEdit()->text().toStdString(), dir.file("bell.wav"));
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    const OpenRequest& asked = dialogs.openRequests[0];
    EXPECT_EQ(asked.filter, (std::vector<std::pair<std::string, std::string>>{{"Wave Sound File", "*.wav"}}));
    EXPECT_TRUE(dialogs.owners[0] == w && dialogs.centred[0]);
    w->warningBrowseButton()->click();  // several chosen: the first one
    w->warningBrowseButton()->click();  // cancelled: the box keeps its path
    EXPECT_EQ(w->warningSoundEdit()->text().toStdString(), dir.file("b.wav"));

    // A sound that cannot be read, or none, is told.
    test::writeFile(dir.file("b.wav"), "RIFF");
    w->testSoundButton()->click();
    w->alarmSoundEdit()->clear();
    w->testSoundButton()->click();
    w->warningSoundEdit()->clear();
    w->testSoundButton()->click();
    EXPECT_EQ(sound.events, std::vector<std::string>{dir.file("b.wav")});
    EXPECT_EQ(asker.asked,
              (std::vector<Asked>{
                  {"Tavrin System Message", "The sound file " + dir.file("bell.wav") + " cannot be read."},
                  {"Tavrin System Message", "No sound file selected!"}}));
}

}  // namespace
}  // namespace tavrin
