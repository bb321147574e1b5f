#include "ui/reminders/QtReminderAnnouncer.h"

#include <gtest/gtest.h>

#include <QTextEdit>
#include <QTreeWidget>

#include "support/ReminderTestSupport.h"
#include "ui/WindowTestApp.h"
#include "ui/reminders/frmDayRem.h"

namespace tavrin {
namespace {

// When a reminder is due and what moves on is the core's due check; the announcer shows the balloon,
// asks the question and opens the lists.
struct Announcer : ::testing::Test, test::WindowTestApp {
    QtReminderAnnouncer announcer{app, [] { return ClockPlace{QRect(900, 700, 80, 24), {}}; }};

    Announcer() : test::WindowTestApp(DateTime::fromFields(2026, 12, 6, 9, 30, 0)) {
        app.settings = test::defaultSettings();
        // A title written by an older program in a Western code page: "Caf\xe9" is no UTF-8.
        const char* titles[] = {"Dentist", "Caf\xe9", "Dentist", "Call the bank"};
        for (int i = 0; i < 3; ++i)
            test::putReminder(app.reminders, i, titles[i], "12/06/26", "09:30:00", "1", "-1",
                              "body " + std::to_string(i));
        test::putReminder(app.reminders, 3, titles[3], "12/06/26", "09:30:00", "0", "1", "body 3");
    }
    static std::vector<frmDayRem*> dayLists() { return test::shownWindows<frmDayRem>(); }
    // The rows of the one day list open, each as title, time, slot, "Yes" or "No" for a recurring
    // one, and a tick when enabled; and its message.
    static QStringList shownList() {
        const auto lists = dayLists();
        if (lists.size() != 1) return {"open day lists: " + QString::number(lists.size())};
        return test::treeRows(lists[0]->list(), {0, 1, 2, 3}) << lists[0]->message()->toPlainText();
    }
};

TEST_F(Announcer, EveryLineShowsAboveTheClockAsStoredAndOpensTheDayListOfItsReminders) {
    auto& t = app.reminders;
    for (int i = 0; i < 8; ++i) t.balloonLines[i] = "9:30 AM - Item " + std::to_string(i);
    t.balloonLines[0] = "9:30 AM - Dentist";
    t.balloonLines[1] = "9:30 AM - Caf\xe9";
    t.balloonSlots[0] = 0;
    t.balloonSlots[1] = 1;
    EXPECT_TRUE(announcer.showBalloon("Tavrin Reminders for: 12/06/26"));
    frmBalloon* balloon = announcer.lastBalloon();
    ASSERT_NE(balloon, nullptr);
    ASSERT_EQ(balloon->lineLabels().size(), 8u);
    EXPECT_LE(balloon->geometry().bottom(), 700);
    EXPECT_EQ(balloon->lineLabels()[1]->text(), QString::fromUtf8("9:30 AM - Caf\u00e9"));
    // The next announcement rewrites the table's lines; each line keeps what it was made from.
    t.balloonLines[0] = t.balloonLines[1] = "";

    test::click(balloon->lineLabels()[0]);
    test::wait(0);
    EXPECT_EQ(shownList(), (QStringList{"Dentist|9:30 AM|0|No|on", "Dentist|9:30 AM|2|No|on", "body 2"}));
    ASSERT_EQ(announcer.lastBalloon(), balloon) << "the balloon stays open";
    dayLists()[0]->close();
    test::click(balloon->lineLabels()[1]);
    test::wait(0);
    EXPECT_EQ(shownList(), (QStringList{QString::fromUtf8("Caf\u00e9|9:30 AM|1|No|on"), "body 1"}));
}

TEST_F(Announcer, TheReviewQuestionTakesItsAnswerAndYesOpensTheManagerOrWithoutOneTodaysDayList) {
    asker.answers = {true, false};
    EXPECT_TRUE(announcer.askReview());
    EXPECT_FALSE(announcer.askReview());
    const test::ScriptedAsker::Asked question{
        "Tavrin for Windows",
        "There is one or more re-occuring reminders set. Would you like to review them?", MessageIcon::None,
        true};
    EXPECT_EQ(asker.asked, (std::vector<test::ScriptedAsker::Asked>{question, question}));

    announcer.openManager();
    EXPECT_EQ(shownList().value(3), "Call the bank|9:30 AM|3|Yes|off");
    frmDayRem* list = dayLists()[0];
    QTreeWidget* rows = list->list();
    rows->setCurrentItem(rows->topLevelItem(0));
    EXPECT_EQ(list->message()->toPlainText(), "body 0");
    // Showing again adds nothing: the input was used once.
    list->hide();
    list->show();
    EXPECT_EQ(rows->topLevelItemCount(), 4);

    int managers = 0;
    announcer.setManagerHook([&managers] { ++managers; });
    announcer.openManager();
    EXPECT_EQ(managers, 1);
    EXPECT_EQ(dayLists().size(), 1u);
}

}  // namespace
}  // namespace tavrin
