#include "ui/alarms/frmAlarm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/store/MemoryStore.h"
#include "core/timezones/ZoneCatalogue.h"
#include "support/FakeClock.h"
#include "support/FakeCommonDialogs.h"
#include "support/Recorders.h"
#include "support/RecordingShell.h"
#include "support/ReminderTestSupport.h"
#include "support/ScriptedAsker.h"
#include "support/TestApp.h"

namespace tavrin {
namespace {

using Asked = test::ScriptedAsker::Asked;

// The machine runs on UTC at 14:58:40 on 14 March 2026; Tokyo (UTC+9) and Berlin (UTC+1) are chosen.
struct AlarmDialog : ::testing::Test {
    test::FakeClock clock{DateTime::fromFields(2026, 3, 14, 14, 58, 40)};
    MemoryStore store;
    test::RecordingShell shell;
    test::ScriptedAsker asker;
    AppState app{store, clock, shell, asker, Paths{}};
    test::RecordingSound sound;
    test::FakeCommonDialogs dialogs;
    test::TempDir dir{"tavrin-alarmdlg"};

    void SetUp() override {
        test::ensureApp();
        store.mount(Root::LocalMachine,
                    makeZoneCatalogue(std::string(TAVRIN_TEST_DATA) + "/zoneinfo", clock));
        app.zones.ZoneRoot = kZoneRootNt;
        app.zones.ZoneList[1] = "Asia/Tokyo";
        app.zones.ZoneList[2] = "Europe/Berlin";
        app.zones.HomeZone = ReadZone(store, kZoneRootNt, "Etc/UTC");
        app.settings.TimeFormat = "h:mm AM/PM";
    }
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets()) delete w;
    }
    frmAlarm* open() {
        auto* w = new frmAlarm(app, sound, dialogs);
        w->show();
        return w;
    }
    static QStringList items(QComboBox* c) {
        QStringList out;
        for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
        return out;
    }
};

TEST_F(AlarmDialog, OpensWithItsListsAndSaysWhatIsArmed) {
    app.alarms.AlarmOn = true;
    app.alarms.AlarmTime = "07:30:00";
    frmAlarm* w = open();
    EXPECT_EQ(w->windowTitle(), "Alarm");
    EXPECT_EQ(items(w->Combo1()), (QStringList{"5 Mins", "10 Mins", "15 Mins", "30 Mins", "45 Mins", "1 Hour",
                                               "2 Hours", "3 Hours", "Custom..."}));
    EXPECT_EQ(w->Combo1()->placeholderText(), "Preset Alarm Times");
    EXPECT_EQ(w->Combo3()->placeholderText(), "Preset Warning Hours");
    EXPECT_EQ(items(w->Combo3()), (QStringList{"09:00 AM", "10:00 AM", "12:00 PM", "05:00 PM", "05:30 PM",
                                               "08:00 PM", "Custom..."}));
    for (QComboBox* zones : {w->Combo2(), w->Combo4()}) {
        EXPECT_EQ(items(zones),
                  (QStringList{"System Default", "(GMT+09:00) Tokyo, Japan", "(GMT+01:00) Berlin, Germany"}));
        EXPECT_EQ(zones->currentText(), "System Default");
    }
    EXPECT_EQ(w->status()->text(), "Alarm set for: 07:30:00");
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

TEST_F(AlarmDialog, OkArmsThePresetInTheChosenZoneAndTheWarningAndCloses) {
    frmAlarm* w = open();
    w->Combo1()->setCurrentIndex(0);  // "5 Mins"
    w->Text4()->setText("/sounds/ring.wav");
    w->Text1()->setText("Tea is ready");
    w->Combo3()->setCurrentIndex(2);  // "12:00 PM"
    w->Combo4()->setCurrentIndex(2);  // Berlin
    QPointer<frmAlarm> alive(w);
    w->Command1_Click(1);
    test::wait(0);
    EXPECT_TRUE(alive.isNull()) << "OK closes the dialog";
    const AlarmState& a = app.alarms;
    EXPECT_TRUE(a.AlarmOn && a.WarningOn);
    EXPECT_EQ(a.AlarmTime, "15:03:00");
    EXPECT_EQ(a.AlarmSound + "|" + a.AlarmMessage, "/sounds/ring.wav|Tea is ready");
    EXPECT_EQ(a.WarningTime, "12:00 PM");
    EXPECT_EQ(a.WarningZone.DisplayText, "(GMT+01:00) Berlin, Germany");
    EXPECT_TRUE(asker.asked.empty());

    // In Tokyo it is 23:58:40: ten minutes on is eight past midnight there.
    w = open();
    EXPECT_EQ(w->status()->text(),
              "A Warning set for: 12:00 PM in (GMT+01:00) Berlin, Germany\nAlarm set for: 15:03:00");
    w->Combo1()->setCurrentIndex(1);
    w->Combo2()->setCurrentIndex(1);
    w->Command1_Click(1);
    EXPECT_EQ(app.alarms.AlarmTime, "00:08:00");
    EXPECT_EQ(app.alarms.AlarmZone.DisplayText, "(GMT+09:00) Tokyo, Japan");
    EXPECT_EQ(app.alarms.AlarmSound, "/sounds/ring.wav") << "an empty sound box keeps the sound";
}

TEST_F(AlarmDialog, CustomDelayMessagesAndCancel) {
    frmAlarm* w = open();
    w->Combo1()->setCurrentIndex(8);
    w->Combo1_Click();
    w->Text2()->setText("123");
    w->Command1_Click(1);
    EXPECT_EQ(asker.asked,
              (std::vector<Asked>{{"Tavrin Warning Dialog", "Warning! Custom time out of range"}}));
    EXPECT_EQ(w->Text2()->text() + ":" + w->Text3()->text(), "0:1");
    EXPECT_EQ(app.alarms.AlarmTime, "14:59:00");

    asker.asked.clear();
    w = open();
    w->Combo1()->setCurrentIndex(8);
    w->Text2()->setText("-1");
    w->Combo3()->setCurrentIndex(0);
    w->Command1_Click(1);
    EXPECT_EQ(asker.asked,
              (std::vector<Asked>{{"Tavrin System Dialog",
                                   "There was an error in the custom Alarm, please recheck and try "
                                   "again"}}));
    EXPECT_EQ(app.alarms.AlarmTime, "14:59:00") << "the alarm armed before stays";
    EXPECT_TRUE(app.alarms.WarningOn);

    // Cancel disarms both, whatever the dialog shows.
    w = open();
    w->Combo1()->setCurrentIndex(3);
    w->Command1_Click(0);
    EXPECT_FALSE(app.alarms.AlarmOn || app.alarms.WarningOn);
    EXPECT_EQ(app.alarms.AlarmTime + app.alarms.WarningTime + app.alarms.AlarmSound, "");
}

TEST_F(AlarmDialog, BrowseFillsTheSoundBoxFromThePickerAndTestSoundPlaysIt) {
    frmAlarm* w = open();
    dialogs.files.push_back(selectionFromPaths({dir.file("bell.wav")}));
    dialogs.files.push_back(selectionFromPaths({dir.file("b.wav"), dir.file("a.wav")}));
    w->Command1_Click(2);
    EXPECT_EQ(w->Text4()->text().toStdString(), dir.file("bell.wav"));
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    const OpenRequest& asked = dialogs.openRequests[0];
    EXPECT_EQ(asked.title, "Show Open");
    EXPECT_EQ(asked.filter, (std::vector<std::pair<std::string, std::string>>{{"Wave Sound File", "*.wav"}}));
    EXPECT_EQ(asked.initialDirectory.back(), '/');
    EXPECT_EQ(dialogs.owners[0], w);
    EXPECT_TRUE(dialogs.centred[0]);
    w->Command1_Click(4);  // several chosen: the first one
    EXPECT_EQ(w->Text7()->text().toStdString(), dir.file("b.wav"));
    w->Command1_Click(4);  // cancelled: the box keeps its path
    EXPECT_EQ(w->Text7()->text().toStdString(), dir.file("b.wav"));

    // "Test Sound": the alarm's sound first, then the warning's; a path that cannot be read, or none.
    test::writeFile(dir.file("b.wav"), "RIFF");
    w->Command1_Click(3);
    EXPECT_EQ(asker.asked,
              (std::vector<Asked>{
                  {"Tavrin System Message", "The sound file " + dir.file("bell.wav") + " cannot be read."}}));
    w->Text4()->clear();
    w->Command1_Click(3);
    EXPECT_EQ(sound.events, std::vector<std::string>{dir.file("b.wav")});
    w->Text7()->clear();
    asker.asked.clear();
    w->Command1_Click(3);
    EXPECT_EQ(asker.asked, (std::vector<Asked>{{"Tavrin System Message", "No sound file selected!"}}));
}

}  // namespace
}  // namespace tavrin
