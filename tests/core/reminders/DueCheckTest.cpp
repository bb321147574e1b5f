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
        for (const auto& line : table_.balloonLines) {
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

class DueCheckTest : public test::ReminderFolder {
  protected:
    DueCheckTest() : announcer(table), check(table, settings, clock, announcer, path) {}

    // The running clock's table was read from its file: the reminders put in place are saved so.
    void asIfLoaded() {
        if (table.fileStamp.known) return;
        EXPECT_TRUE(saveReminders(table, path).ok());
        table.fileStamp = ReminderFileStamp::of(path, serialiseReminders(table));
    }

    DueCheckResult tickAt(int y, int mo, int d, int h, int mi, int s = 0) {
        asIfLoaded();
        clock.setLocal(DateTime::fromFields(y, mo, d, h, mi, s));
        return check.checkReminders();
    }

    test::FakeClock clock;
    RecordingAnnouncer announcer;
    DueCheck check;
};

// The enabled reminders of the minute are announced; with a recurring one among them the user is
// asked to review them, and No moves it on and saves the table, or reports the failed save and keeps
// the move.
TEST_F(DueCheckTest, AnnouncesTheEnabledRemindersOfTheMinuteAndNoMovesTheRecurringOnes) {
    putReminder(table, 0, "Off", "03/07/05", "09:30:00", "0", "1");
    putReminder(table, 1, "Tomorrow", "03/08/05", "09:30:00");
    putReminder(table, 2, "Flag two", "03/07/05", "09:30:00", "2");
    putReminder(table, 3, "Once", "03/07/05", "09:30:00");
    putReminder(table, 4, "Daily", "03/07/05", "09:30:00", "1", "1");
    const DueCheckResult r = tickAt(2005, 3, 7, 9, 30);
    EXPECT_EQ(r.due, 4);
    EXPECT_EQ(announcer.shown, Shown{(Lines{"9:30 AM - Once", "9:30 AM - Daily"})});
    EXPECT_EQ(announcer.titles, Lines{"Tavrin Reminders for: 03/07/05"});
    EXPECT_EQ(announcer.questions, 1);
    EXPECT_EQ(r.moved, 1);
    EXPECT_EQ(table.dates[0] + table.dates[3] + table.dates[4] + table.times[4],
              "03/07/0503/07/0503/08/0509:30:00");
    ASSERT_TRUE(r.save && r.save->ok());
    EXPECT_EQ(readFile(path), serialiseReminders(table));
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    const DueCheckResult failed = tickAt(2005, 3, 8, 9, 30);
    ASSERT_TRUE(failed.save);
    EXPECT_FALSE(failed.save->ok());
    EXPECT_EQ(table.dates[4], "03/09/05");
}

// Another program replaced the file while the clock ran, with a record the table cannot hold: the
// save of the move keeps the file aside first and says where.
TEST_F(DueCheckTest, TheMoveSavedOverAFileHoldingMoreThanTheTableKeepsItAsideFirst) {
    putReminder(table, 0, "Before", "03/07/05", "08:00:00");
    asIfLoaded();
    const std::string replaced =
        test::recordText("Daily", "03/07/05", "09:30:00", "1") + test::recordText("");
    test::writeFile(path, replaced);
    const DueCheckResult r = tickAt(2005, 3, 7, 9, 30);
    EXPECT_EQ(r.moved, 1);
    ASSERT_TRUE(r.save && r.save->ok());
    EXPECT_NE(r.save->message().find(path + ".overflow"), std::string::npos) << r.save->message();
    EXPECT_EQ(readFile(path + ".overflow"), replaced);
}

// A recurring reminder moves on to its first time after the tick that announced it, counted on the
// wall clock: at its own minute, or after the machine slept or was off through it (a night, a
// weekend, a change of the clock), when the times in between were in that one balloon. Each
// expectation was checked with `date` (the changes with TZ=Europe/Berlin). The code's leading whole
// number decides: "-1.0" happens once and is neither asked about nor moved.
TEST_F(DueCheckTest, ARecurringReminderMovesToItsFirstTimeAfterTheTick) {
    const auto t = [](int mo, int d, int h, int mi, int y = 2005) {
        return DateTime::fromFields(y, mo, d, h, mi);
    };
    // The clock ticked last a minute before the reminder was due, and next at `tick`.
    const struct {
        const char *what, *recur, *due;
        DateTime tick;
        const char* next;                       // the stored date and time afterwards
        int offsetBefore = 0, offsetAfter = 0;  // minutes ahead of UTC at the two ticks
    } cases[] = {
        // clang-format off
        {"hourly", "0", "03/07/05 10:15:00", t(3, 7, 10, 15), "03/07/05 11:15:00"},
        {"hourly past midnight", "0", "03/07/05 23:15:00", t(3, 7, 23, 15), "03/08/05 00:15:00"},
        {"hourly, missed overnight", "0", "03/07/05 22:15:00", t(3, 8, 2, 40), "03/08/05 03:15:00"},
        // From 01:15 CET to 03:05 CEST is 50 minutes; 02:15 is no time that day.
        {"hourly, spring change", "0", "03/27/05 01:15:00", t(3, 27, 3, 5), "03/27/05 03:15:00", 60, 120},
        {"daily, a leap day", "1", "02/28/08 08:00:00", t(2, 28, 8, 0, 2008), "02/29/08 08:00:00"},
        {"daily, later that day", "1", "03/10/05 08:00:00", t(3, 10, 19, 0), "03/11/05 08:00:00"},
        {"daily, a day later at its time", "1", "03/10/05 08:00:00", t(3, 11, 8, 0), "03/12/05 08:00:00"},
        {"daily over a weekend", "1", "03/11/05 17:00:00", t(3, 14, 9, 0), "03/14/05 17:00:00"},
        // 23.5 hours of real time, a day and half an hour on the wall clock: today's 09:00 has passed.
        {"daily, spring change", "1", "03/26/05 09:00:00", t(3, 27, 9, 30), "03/28/05 09:00:00", 60, 120},
        // 24.5 hours of real time, 23.5 on the wall clock: today's 09:00 is still ahead.
        {"daily, autumn change", "1", "10/29/05 09:00:00", t(10, 30, 8, 30), "10/30/05 09:00:00", 120, 60},
        {"weekly, the year end", "2", "12/28/05 08:00:00", t(12, 28, 8, 0), "01/04/06 08:00:00"},
        {"weekly, a week less a minute", "2", "03/07/05 09:00:00", t(3, 14, 8, 59), "03/14/05 09:00:00"},
        {"once, written -1.0", "-1.0", "03/07/05 09:30:00", t(3, 7, 9, 30), "03/07/05 09:30:00"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string due = c.due;
        putReminder(table, 0, "R", due.substr(0, 8), due.substr(9), "1", c.recur);
        table.fileStamp = {};
        asIfLoaded();
        DueCheck fresh(table, settings, clock, announcer, path);
        clock.setOffsetMinutes(c.offsetBefore);
        clock.setLocal(readDateText(due)->addMinutes(-1));
        EXPECT_EQ(fresh.checkReminders().due, 0);
        clock.setOffsetMinutes(c.offsetAfter);
        clock.setLocal(c.tick);
        const DueCheckResult r = fresh.checkReminders();
        const bool moves = due != c.next;
        EXPECT_EQ(r.announced, 1);
        EXPECT_EQ(r.asked, moves);
        EXPECT_EQ(table.dates[0] + " " + table.times[0], c.next);
        if (!moves) continue;
        // ... and is found there.
        clock.setLocal(*readDateText(c.next));
        EXPECT_EQ(fresh.checkReminders().due, 1);
    }
}

TEST_F(DueCheckTest, AnswerYesOrAHiddenBalloonMovesNothing) {
    putReminder(table, 0, "Hourly", "03/07/05", "10:15:00", "1", "0");
    announcer.answerYes = true;
    EXPECT_FALSE(tickAt(2005, 3, 7, 10, 15).save.has_value());
    EXPECT_EQ(announcer.managerOpened, 1);
    announcer.visible = false;
    tickAt(2005, 3, 8, 10, 15);
    putReminder(table, 0, "Hourly", "03/08/05", "10:16:00", "1", "0");
    tickAt(2005, 3, 8, 10, 16);
    EXPECT_EQ(announcer.questions, 1);
    EXPECT_EQ(table.times[0], "10:16:00");
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

// None recurs: nothing is asked, moved or saved.
TEST_F(DueCheckTest, SixtyRemindersInOneMinuteAreAllAnnounced) {
    for (int i = 0; i < 60; ++i) putReminder(table, i, "R" + std::to_string(i), "03/07/05", "09:30:00");
    const DueCheckResult r = tickAt(2005, 3, 7, 9, 30);
    EXPECT_EQ(r.announced, 60);
    EXPECT_FALSE(r.asked || r.save);
    ASSERT_EQ(announcer.shown.size(), 1u);
    EXPECT_EQ(announcer.shown[0].back(), "9:30 AM - R59");
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
    ASSERT_TRUE(addReminder(table, form, settings, path).stored);
    form.title = "Typed";
    form.date = "03/07/05 17:45";  // a time typed into the date box is dropped
    form.recurring = false;
    ASSERT_TRUE(addReminder(table, form, settings, path).stored);
    EXPECT_EQ(table.dates[1], "03/07/05 00:00");

    const DueCheckResult first = tickAt(2005, 3, 7, 9, 30);
    EXPECT_EQ(first.announced, 2);
    EXPECT_EQ(first.moved, 1);
    EXPECT_EQ(table.dates[0], "03/08/05 00:00");
    EXPECT_EQ(tickAt(2005, 3, 8, 9, 30).announced, 1);
}

}  // namespace
}  // namespace tavrin
