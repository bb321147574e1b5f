#include <filesystem>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "core/reminders/DueCheck.h"
#include "core/reminders/ReminderEditing.h"
#include "core/reminders/ReminderEditor.h"
#include "core/reminders/ReminderFile.h"
#include "support/FakeClock.h"
#include "support/ReminderTestSupport.h"

namespace tavrin {
namespace {

using test::putReminder;
using test::readFile;
using Lines = std::vector<std::string>;
using Shown = std::vector<Lines>;

// Keeps the lines of each balloon as the table held them when it was shown.
class RecordingAnnouncer : public ReminderAnnouncer {
  public:
    explicit RecordingAnnouncer(const ReminderTable& table) : table_(table) {}
    bool showBalloon(const std::string& title) override {
        titles.push_back(title);
        Lines& lines = shown.emplace_back();
        for (const auto& line : table_.sBalloonLines) {
            if (line.empty()) break;
            lines.push_back(line);
        }
        return visible;
    }
    bool askReview() override {
        ++questions;
        if (duringQuestion) duringQuestion();
        return answerYes;
    }
    void openManager() override { ++managerOpened; }

    std::vector<std::string> titles;
    Shown shown;
    int questions = 0, managerOpened = 0;
    bool visible = true, answerYes = false;
    std::function<void()> duringQuestion;

  private:
    const ReminderTable& table_;
};

class DueCheckTest : public ::testing::Test {
  protected:
    DueCheckTest() : announcer(table), check(table, settings, clock, announcer, dir.file("Tavrin.DAT")) {}

    // The running clock's table was read from its file: the reminders put in place are saved so.
    void asIfLoaded() {
        if (table.fileStamp.known) return;
        EXPECT_TRUE(SaveReminders(table, file).ok);
        table.fileStamp = ReminderFileStamp::of(file, serialiseReminders(table));
    }

    DueCheckResult tickAt(int y, int mo, int d, int h, int mi, int s = 0) {
        asIfLoaded();
        clock.setLocal(DateTime::fromFields(y, mo, d, h, mi, s));
        return check.checkReminders();
    }

    test::TempDir dir;
    const std::string file = dir.file("Tavrin.DAT");
    ReminderTable table;
    Settings settings = test::defaultSettings();
    test::FakeClock clock;
    RecordingAnnouncer announcer;
    DueCheck check;
};

TEST_F(DueCheckTest, OnlyEnabledRemindersOfThisMinuteShowABalloonLine) {
    putReminder(table, 0, "Off", "03/07/05", "09:30:00", "0");
    putReminder(table, 1, "Tomorrow", "03/08/05", "09:30:00");
    putReminder(table, 2, "Flag two", "03/07/05", "09:30:00", "2");
    putReminder(table, 3, "Dentist", "03/07/05", "09:30:00");
    const ReminderTable before = table;
    const DueCheckResult r = tickAt(2005, 3, 7, 9, 30);
    EXPECT_EQ(r.due, 3);
    EXPECT_EQ(r.announced, 1);
    EXPECT_EQ(announcer.shown, Shown{{"9:30 AM - Dentist"}});
    EXPECT_EQ(announcer.titles, Lines{"Tavrin Reminders for: 03/07/05"});
    EXPECT_EQ(announcer.questions, 0);
    EXPECT_FALSE(r.saved);
    EXPECT_EQ(table.RemDate, before.RemDate);
    EXPECT_EQ(table.RemTime, before.RemTime);
    EXPECT_EQ(readFile(file), serialiseReminders(before));
}

TEST_F(DueCheckTest, AnswerNoMovesOnlyTheRecurringOneAndSavesOrReportsTheFailedSave) {
    putReminder(table, 0, "Once", "03/07/05", "09:30:00");
    putReminder(table, 1, "Daily", "03/07/05", "09:30:00", "1", "1");
    const DueCheckResult r = tickAt(2005, 3, 7, 9, 30);
    EXPECT_EQ(announcer.shown, Shown{(Lines{"9:30 AM - Once", "9:30 AM - Daily"})});
    EXPECT_EQ(announcer.questions, 1);
    EXPECT_EQ(r.moved, 1);
    EXPECT_EQ(table.RemDate[0] + " " + table.RemDate[1] + " " + table.RemTime[1],
              "03/07/05 03/08/05 09:30:00");
    ASSERT_TRUE(r.save.ok);
    EXPECT_EQ(readFile(dir.file("Tavrin.DAT")), serialiseReminders(table));
    // A failed save is reported, and the table keeps the move.
    std::filesystem::remove(dir.file("Tavrin.DAT"));
    std::filesystem::create_directory(dir.file("Tavrin.DAT"));
    const DueCheckResult failed = tickAt(2005, 3, 8, 9, 30);
    EXPECT_TRUE(failed.saved);
    EXPECT_FALSE(failed.save.ok);
    EXPECT_EQ(table.RemDate[1], "03/09/05");
}

// Another program replaced the file while the clock ran, with a record the table cannot hold: the
// save of the move keeps the file aside first and says where.
TEST_F(DueCheckTest, TheMoveSavedOverAFileHoldingMoreThanTheTableKeepsItAsideFirst) {
    putReminder(table, 0, "Before", "03/07/05", "08:00:00");
    asIfLoaded();
    const std::string replaced =
        test::recordText("Daily", "03/07/05", "09:30:00", "1") + test::recordText("");
    test::writeFile(file, replaced);
    const DueCheckResult r = tickAt(2005, 3, 7, 9, 30);
    EXPECT_EQ(r.moved, 1);
    ASSERT_TRUE(r.save.ok);
    EXPECT_NE(r.save.message.find(file + ".overflow"), std::string::npos) << r.save.message;
    EXPECT_EQ(readFile(file + ".overflow"), replaced);
}

TEST_F(DueCheckTest, MovesOfHourlyAndWeeklyReminders) {
    struct Case {
        DateTime now;
        std::string date, time, recur, want;
    };
    const Case cases[] = {
        {DateTime::fromFields(2005, 3, 7, 23, 15), "03/07/05", "23:15:00", "0", "03/08/05 00:15:00"},
        {DateTime::fromFields(2005, 3, 7, 10, 15), "03/07/05", "10:15:00", "0", "03/07/05 11:15:00"},
        {DateTime::fromFields(2005, 12, 28, 8, 0), "12/28/05", "08:00:00", "2", "01/04/06 08:00:00"},
        {DateTime::fromFields(2008, 2, 28, 8, 0), "02/28/08", "08:00:00", "1", "02/29/08 08:00:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date + " " + c.time);
        putReminder(table, 0, "R", c.date, c.time, "1", c.recur);
        table.fileStamp = {};
        asIfLoaded();
        clock.setLocal(c.now);
        EXPECT_EQ(DueCheck(table, settings, clock, announcer, dir.file("Tavrin.DAT")).checkReminders().moved,
                  1);
        EXPECT_EQ(table.RemDate[0] + " " + table.RemTime[0], c.want);
    }
}

TEST_F(DueCheckTest, AnswerYesOrAHiddenBalloonMovesNothing) {
    putReminder(table, 0, "Hourly", "03/07/05", "10:15:00", "1", "0");
    announcer.answerYes = true;
    EXPECT_FALSE(tickAt(2005, 3, 7, 10, 15).saved);
    EXPECT_EQ(announcer.managerOpened, 1);
    announcer.visible = false;
    tickAt(2005, 3, 8, 10, 15);
    putReminder(table, 0, "Hourly", "03/08/05", "10:16:00", "1", "0");
    tickAt(2005, 3, 8, 10, 16);
    EXPECT_EQ(announcer.questions, 1);
    EXPECT_EQ(table.RemTime[0], "10:16:00");
}

TEST_F(DueCheckTest, EachMinuteIsCheckedOnceEvenWhenTheClockIsSetBack) {
    putReminder(table, 0, "Dentist", "03/07/05", "09:30:00");
    putReminder(table, 1, "Later", "03/07/05", "09:31:00");
    tickAt(2005, 3, 7, 9, 29, 59);
    EXPECT_TRUE(announcer.shown.empty());
    tickAt(2005, 3, 7, 9, 30, 1);  // second 0 was missed
    clock.advanceMillis(750);
    EXPECT_FALSE(check.checkReminders().ran);
    tickAt(2005, 3, 7, 9, 30, 59);
    tickAt(2005, 3, 7, 9, 20);
    tickAt(2005, 3, 7, 9, 30);
    tickAt(2005, 3, 7, 9, 31);
    EXPECT_EQ(announcer.shown, (Shown{{"9:30 AM - Dentist"}, {"9:31 AM - Later"}}));
    // A clock that was years ahead and is put right does not wait for those years to pass.
    tickAt(2099, 1, 1, 0, 0);
    putReminder(table, 2, "After the fix", "03/08/05", "09:30:00");
    tickAt(2005, 3, 8, 9, 30);
    EXPECT_EQ(announcer.shown.size(), 3u);
}

TEST_F(DueCheckTest, MissedMinutesAreAnnouncedOnceAtTheNextTickAtMostSevenDaysBack) {
    putReminder(table, 0, "Before start", "03/07/05", "08:59:00");
    putReminder(table, 1, "At start", "03/07/05", "09:00:00");
    putReminder(table, 2, "Missed A", "03/07/05", "09:40:00");
    putReminder(table, 3, "Missed B", "03/07/05", "09:30:00");
    putReminder(table, 4, "Long ago", "03/10/05", "09:00:00");
    putReminder(table, 5, "Recent", "03/28/05", "09:00:00");
    tickAt(2005, 3, 7, 9, 0, 20);
    EXPECT_EQ(tickAt(2005, 3, 7, 9, 45, 10).minutesCovered, 45);  // the thread was held for 45 minutes
    tickAt(2005, 3, 7, 9, 45, 40);
    tickAt(2005, 3, 7, 9, 46, 0);
    tickAt(2005, 3, 31, 9, 0);
    EXPECT_EQ(
        announcer.shown,
        (Shown{{"9:00 AM - At start"}, {"9:30 AM - Missed B", "9:40 AM - Missed A"}, {"9:00 AM - Recent"}}));
}

TEST_F(DueCheckTest, MissedRecurringReminderMovesOnFromItsOwnMinute) {
    putReminder(table, 0, "Hourly", "03/07/05", "10:15:00", "1", "0");
    tickAt(2005, 3, 7, 10, 0);
    tickAt(2005, 3, 7, 10, 30);
    EXPECT_EQ(table.RemTime[0], "11:15:00");
    // Missed again for hours, across midnight: announced once, moved to the next time still ahead.
    tickAt(2005, 3, 8, 2, 40);
    EXPECT_EQ(announcer.shown.size(), 2u);
    EXPECT_EQ(announcer.questions, 2);
    EXPECT_EQ(table.RemDate[0] + " " + table.RemTime[0], "03/08/05 03:15:00");
    tickAt(2005, 3, 8, 3, 15);
    EXPECT_EQ(announcer.shown.size(), 3u);
    EXPECT_EQ(table.RemTime[0], "04:15:00");
}

TEST_F(DueCheckTest, SixtyRemindersInOneMinuteAreAllAnnounced) {
    for (int i = 0; i < 60; ++i) putReminder(table, i, "R" + std::to_string(i), "03/07/05", "09:30:00");
    EXPECT_EQ(tickAt(2005, 3, 7, 9, 30).announced, 60);
    ASSERT_EQ(announcer.shown.size(), 1u);
    EXPECT_EQ(announcer.shown[0].size(), 60u);
    EXPECT_EQ(announcer.shown[0][59], "9:30 AM - R59");
}

TEST_F(DueCheckTest, TickDuringTheQuestionIsRefusedAndItsMinuteCoveredLater) {
    putReminder(table, 0, "Hourly", "03/07/05", "10:15:00", "1", "0");
    putReminder(table, 1, "Next minute", "03/07/05", "10:16:00");
    DueCheckResult inner;
    announcer.duringQuestion = [&] { inner = tickAt(2005, 3, 7, 10, 16); };
    tickAt(2005, 3, 7, 10, 15);
    EXPECT_TRUE(inner.busy);
    tickAt(2005, 3, 7, 10, 16, 30);
    EXPECT_EQ(announcer.shown, (Shown{{"10:15 AM - Hourly"}, {"10:16 AM - Next minute"}}));
}

// A "DateFormat" that shows the time as well: reminders keep the date only, or they would never be
// due again (the stored date's time never equals midnight of the day checked).
TEST_F(DueCheckTest, ADateFormatWithATimeStillFindsNewAndMovedReminders) {
    settings.DateFormat = "mm/dd/yy hh:nn";
    clock.setLocal(DateTime::fromFields(2005, 3, 7, 9, 12, 40));
    ReminderForm form = newReminderForm(clock.localNow(), settings);
    EXPECT_EQ(form.date, "03/07/05 00:00");
    form.title = "Stand-up";
    form.minute = "30";
    form.recurring = true;
    form.recurChoice = 1;  // every day
    ASSERT_EQ(addReminder(table, form, settings, dir.file("Tavrin.DAT")).outcome,
              ReminderChange::Outcome::Stored);
    form.title = "Typed";
    form.date = "03/07/05 17:45";  // a time typed into the date box is dropped
    form.recurring = false;
    ASSERT_EQ(addReminder(table, form, settings, dir.file("Tavrin.DAT")).outcome,
              ReminderChange::Outcome::Stored);
    EXPECT_EQ(table.RemDate[1], "03/07/05 00:00");

    const DueCheckResult first = tickAt(2005, 3, 7, 9, 30);
    EXPECT_EQ(first.announced, 2);
    EXPECT_EQ(first.moved, 1);
    EXPECT_EQ(table.RemDate[0], "03/08/05 00:00");
    EXPECT_EQ(tickAt(2005, 3, 8, 9, 30).announced, 1);
}

}  // namespace
}  // namespace tavrin
