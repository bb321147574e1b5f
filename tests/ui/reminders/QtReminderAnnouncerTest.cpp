#include "ui/reminders/QtReminderAnnouncer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTextEdit>
#include <QTreeWidget>

#include "core/reminders/DueCheck.h"
#include "core/reminders/ReminderFile.h"
#include "core/store/MemoryStore.h"
#include "support/FakeClock.h"
#include "support/RecordingShell.h"
#include "support/ScriptedAsker.h"
#include "support/TempDir.h"
#include "support/TestApp.h"
#include "ui/reminders/frmDayRem.h"

namespace tavrin {
namespace {

struct Announcer : ::testing::Test {
    MemoryStore store;
    test::FakeClock clock{DateTime::fromFields(2026, 12, 6, 9, 30, 0)};
    test::RecordingShell shell;
    test::ScriptedAsker asker;
    AppState app{store, clock, shell, asker, Paths{}};
    QtReminderAnnouncer announcer{app, [] { return ClockPlace{QRect(900, 700, 80, 24), {}}; }};

    void SetUp() override {
        test::ensureApp();
        app.settings.TimeFormat = "h:mm AM/PM";
        app.settings.DateFormat = "mm/dd/yy";
        auto& t = app.reminders;
        const char* titles[] = {"Dentist", "Call the bank", "Dentist"};
        for (int i = 0; i < 3; ++i) {
            t.RemTitle[i] = titles[i];
            t.RemDate[i] = "12/06/26";
            t.RemTime[i] = "09:30:00";
            t.RemEnabled[i] = i == 1 ? "0" : "1";
            t.RemRecur[i] = i == 1 ? "1" : "-1";
            t.RemBody[i] = "body " + std::to_string(i);
        }
    }
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets()) delete w;
    }
    static std::vector<frmDayRem*> dayLists() {
        std::vector<frmDayRem*> found;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* list = qobject_cast<frmDayRem*>(w); list && list->isVisible()) found.push_back(list);
        }
        return found;
    }
    // A day-list row: title, time, slot, "Yes" or "No" for a recurring one, and a tick when enabled.
    static QStringList row(QTreeWidget* rows, int i) {
        const QTreeWidgetItem* item = rows->topLevelItem(i);
        return {item->text(0), item->text(1), item->text(2), item->text(3),
                item->checkState(0) == Qt::Checked ? "on" : "off"};
    }
};

TEST_F(Announcer, EveryLineShowsAboveTheClockAndOpensTheDayListOfThatLine) {
    for (int i = 0; i < 8; ++i) app.reminders.sBalloonLines[i] = "9:30 AM - Item " + std::to_string(i);
    app.reminders.sBalloonLines[0] = "9:30 AM - Dentist";
    EXPECT_TRUE(announcer.showBalloon("Tavrin Reminders for: 12/06/26"));
    frmBalloon* balloon = announcer.lastBalloon();
    ASSERT_NE(balloon, nullptr);
    ASSERT_EQ(balloon->lineLabels().size(), 8u);
    EXPECT_GE(balloon->height(), balloonLineRect(7).bottom());
    EXPECT_EQ(balloon->width(), 312);
    EXPECT_LE(balloon->geometry().bottom(), 700);
    EXPECT_TRUE(balloon->closeButton()->isVisible());

    test::click(balloon->lineLabels()[0]);
    test::wait(0);
    const auto lists = dayLists();
    ASSERT_EQ(lists.size(), 1u);
    QTreeWidget* rows = lists[0]->list();
    ASSERT_EQ(rows->topLevelItemCount(), 2);  // both reminders that make this line
    EXPECT_EQ(row(rows, 0), (QStringList{"Dentist", "9:30 AM", "0", "No", "on"}));
    EXPECT_EQ(row(rows, 1), (QStringList{"Dentist", "9:30 AM", "2", "No", "on"}));
    EXPECT_EQ(lists[0]->message()->toPlainText(), "body 2");
    EXPECT_EQ(lists[0]->windowTitle(), "Reminders");
    EXPECT_TRUE(rows->isColumnHidden(2));
    EXPECT_EQ(announcer.lastBalloon(), balloon);  // the balloon stays open
}

TEST_F(Announcer, ALatin1TitleReadsAsWrittenAndItsLineOpensItsReminder) {
    // A title written by an older program in a Western code page: "Caf\xe9" is no UTF-8.
    app.reminders.RemTitle[1] = "Caf\xe9";
    app.reminders.RemEnabled[1] = "1";
    app.reminders.RemRecur[1] = "-1";
    // The check works on what the file holds, as the clock does.
    test::TempDir dir;
    ASSERT_TRUE(SaveReminders(app.reminders, dir.file("Tavrin.DAT")).ok);
    DueCheck check(app.reminders, app.settings, clock, announcer, dir.file("Tavrin.DAT"));
    ASSERT_EQ(check.checkReminders(clock.localNow()).announced, 3);
    frmBalloon* balloon = announcer.lastBalloon();
    ASSERT_NE(balloon, nullptr);
    ASSERT_EQ(balloon->lineLabels().size(), 3u);
    EXPECT_EQ(balloon->lineLabels()[1]->text(), QString::fromUtf8("9:30 AM - Caf\u00e9"));

    test::click(balloon->lineLabels()[1]);
    test::wait(0);
    const auto lists = dayLists();
    ASSERT_EQ(lists.size(), 1u);
    QTreeWidget* rows = lists[0]->list();
    ASSERT_EQ(rows->topLevelItemCount(), 1);
    EXPECT_EQ(row(rows, 0), (QStringList{QString::fromUtf8("Caf\u00e9"), "9:30 AM", "1", "No", "on"}));
    EXPECT_EQ(lists[0]->message()->toPlainText(), "body 1");
}

TEST_F(Announcer, TheReviewQuestionIsAskedThroughTheAskerAndTakesItsAnswer) {
    asker.answers = {true, false};
    EXPECT_TRUE(announcer.askReview());
    EXPECT_FALSE(announcer.askReview());
    const test::ScriptedAsker::Asked question{
        "Tavrin for Windows",
        "There is one or more re-occuring reminders set. Would you like to review them?", MessageIcon::None,
        true};
    EXPECT_EQ(asker.asked, (std::vector<test::ScriptedAsker::Asked>{question, question}));
}

TEST_F(Announcer, NoToTheReviewMovesTheRecurringReminderOnAndYesOpensTheManager) {
    int managers = 0;
    announcer.setManagerHook([&managers] { ++managers; });
    app.reminders.RemEnabled[1] = "1";  // "Call the bank" recurs daily
    // The check works on what the file holds, as the clock does.
    test::TempDir dir;
    ASSERT_TRUE(SaveReminders(app.reminders, dir.file("Tavrin.DAT")).ok);
    DueCheck check(app.reminders, app.settings, clock, announcer, dir.file("Tavrin.DAT"));
    asker.answers = {false};
    const DueCheckResult no = check.checkReminders(clock.localNow());
    EXPECT_TRUE(no.asked);
    EXPECT_EQ(no.moved, 1);
    EXPECT_EQ(app.reminders.RemDate[1], "12/07/26");
    EXPECT_EQ(managers, 0);

    clock.advanceSeconds(24 * 60 * 60);
    for (int i : {0, 2}) app.reminders.RemDate[i] = "12/07/26";
    asker.answers = {true};
    const DueCheckResult yes = check.checkReminders(clock.localNow());
    EXPECT_TRUE(yes.reviewed);
    EXPECT_EQ(yes.moved, 0);
    EXPECT_EQ(app.reminders.RemDate[1], "12/07/26");
    EXPECT_EQ(managers, 1);
    EXPECT_EQ(asker.asked.size(), 2u);
}

TEST_F(Announcer, WithoutAManagerYesOpensTodaysDayList) {
    announcer.openManager();
    const auto lists = dayLists();
    ASSERT_EQ(lists.size(), 1u);
    QTreeWidget* rows = lists[0]->list();
    ASSERT_EQ(rows->topLevelItemCount(), 3);
    EXPECT_EQ(row(rows, 1), (QStringList{"Call the bank", "9:30 AM", "1", "Yes", "off"}));
    rows->setCurrentItem(rows->topLevelItem(0));
    EXPECT_EQ(lists[0]->message()->toPlainText(), "body 0");
    // Showing again adds nothing: the input was used once.
    lists[0]->hide();
    lists[0]->show();
    EXPECT_EQ(rows->topLevelItemCount(), 3);

    int managers = 0;
    announcer.setManagerHook([&managers] { ++managers; });
    announcer.openManager();
    EXPECT_EQ(managers, 1);
    EXPECT_EQ(dayLists().size(), 1u);
}

}  // namespace
}  // namespace tavrin
