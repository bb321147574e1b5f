#include "ui/reminders/ReminderWindows.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTreeWidget>
#include <chrono>
#include <filesystem>

#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderRecord.h"
#include "core/reminders/ReminderUpdate.h"
#include "support/FakeCommonDialogs.h"
#include "support/ReminderTestSupport.h"
#include "ui/WindowTestApp.h"
#include "ui/reminders/frmAddRem.h"
#include "ui/reminders/frmCal.h"
#include "ui/reminders/frmDayRem.h"
#include "ui/reminders/frmRem.h"

namespace tavrin {
namespace {

using test::putReminder;

// Today is Tuesday 15 March 2005, 15:20 local time. What a form may hold, how the table and the file
// change and which cell holds which day are the core's rules; here the windows reach them, show what
// they give and tell the user what they refused.
struct ReminderWindowsTest : ::testing::Test, test::WindowTestApp {
    test::TempDir dir{"tavrin-remwin"};
    std::unique_ptr<ReminderWindows> windows;

    ReminderWindowsTest() : test::WindowTestApp(DateTime::fromFields(2005, 3, 15, 15, 20, 0)) {}
    void SetUp() override {
        app.paths.dataHome = dir.path();
        app.settings = test::defaultSettings();
        app.settings.WForeColor = "0";
        windows = std::make_unique<ReminderWindows>(app, TAVRIN_SOURCE_DIR "/Images");
    }
    std::string path() const { return app.paths.reminderFile(); }
    // Three reminders, saved: One on 03/07/05, Two and Three on 03/21/05.
    void seedThree() {
        putReminder(app.reminders, 0, "One", "03/07/05", "09:00:00", "1", "-1", "first body");
        putReminder(app.reminders, 1, "Two", "03/21/05", "21:05:00", "0", "2", "second body");
        putReminder(app.reminders, 2, "Three", "03/21/05", "13:30:00", "1", "-1", "third body");
        ASSERT_TRUE(saveReminders(app.reminders, path()).ok());
    }
    void fillEditor(frmAddRem* e, const QString& title, const QString& date, const QString& hour,
                    const QString& minute, const QString& half, const QString& body = "a message") {
        e->titleEdit()->setText(title);
        e->dateEdit()->setText(date);
        e->hourEdit()->setText(hour);
        e->minuteEdit()->setText(minute);
        e->amPmBox()->setEditText(half);
        e->messageEdit()->setPlainText(body);
    }
    // The manager's rows as "title|date|time|occurs|on/off".
    static QStringList rows(QTreeWidget* list) { return test::treeRows(list, {0, 1, 2, 4}); }
    // Days of the shown month that carry a marker, as "day:count".
    static QString markers(frmCal* cal) {
        QStringList out;
        for (const CalendarCell& c : cal->grid().cells())
            if (c.markers > 0) out << QString::fromStdString(c.caption) + ":" + QString::number(c.markers);
        return out.join(' ');
    }
};

// A refused OK says why and keeps the editor open with its fields, for the user to put right.
TEST_F(ReminderWindowsTest, EditorOpensOnNowAndItsOkSaysWhyItRefusesOrAddsTheReminderEverywhere) {
    seedThree();
    frmCal* cal = windows->showCalendar();
    frmAddRem* editor = windows->openNewReminder();
    EXPECT_EQ(editor->hourEdit()->text() + " " + editor->minuteEdit()->text() + " " +
                  editor->amPmBox()->currentText() + " " + editor->dateEdit()->text(),
              "15 20 PM 03/15/05");
    EXPECT_FALSE(editor->durationBox()->isEnabled());

    fillEditor(editor, "Dentist", "03/07/05", "9", "5", "PM", "Bring the 2\" card");
    editor->ok();
    test::wait(0);
    EXPECT_EQ(asker.asked, (std::vector<test::ScriptedAsker::Asked>{{"Tavrin Error Message",
                                                                     "The reminder message cannot contain a "
                                                                     "double quote (\")."}}));
    ASSERT_EQ(windows->editor(), editor);
    editor->messageEdit()->setPlainText("Bring the card");
    editor->recurringBox()->setChecked(true);
    EXPECT_TRUE(editor->durationBox()->isEnabled());
    editor->durationBox()->setCurrentIndex(2);  // "Every Week"
    editor->ok();
    test::wait(0);

    EXPECT_EQ(windows->editor(), nullptr) << "the editor closes after a good OK";
    EXPECT_EQ(ReminderRecord::fromSlot(app.reminders, 3),
              (ReminderRecord{"Dentist", "03/07/05", "21:05:00", "1", "2", "Bring the card"}));
    EXPECT_EQ(markers(cal), "7:2 21:2") << "one marker more, the others placed once again";

    // An empty title stores nothing and closes without a word.
    windows->openNewReminder()->ok();
    test::wait(0);
    EXPECT_EQ(windows->editor(), nullptr);
    EXPECT_EQ(asker.asked.size(), 1u);
    EXPECT_TRUE(app.reminders.titles[4].empty());
}

// The file was replaced while the clock ran and read again by it: the editor's and the manager's
// saves keep what the table cannot hold aside first, and tell the user where.
TEST_F(ReminderWindowsTest, EditorAndManagerTellWhereAFileWasKeptAsideBeforeTheirSave) {
    seedThree();
    ASSERT_TRUE(loadReminders(app.reminders, path()).ok());
    test::writeFile(path(), "Title,Date,Time\r\nDentist,2005-03-07,09:30\r\n");
    ASSERT_TRUE(reloadRemindersIfChanged(app.reminders, path()).ok());
    frmAddRem* editor = windows->openNewReminder();
    fillEditor(editor, "Tea", "03/07/05", "9", "5", "AM");
    editor->ok();
    test::writeFile(path(), test::recordText("Tea") + test::recordText(""));
    ASSERT_TRUE(reloadRemindersIfChanged(app.reminders, path()).ok());
    frmRem* manager = windows->showManager();
    manager->reminderList()->setCurrentItem(manager->reminderList()->topLevelItem(0));
    manager->deleteSelected();

    ASSERT_EQ(asker.asked.size(), 2u);
    EXPECT_EQ(asker.asked[0].title, "Tavrin System Message");  // told, not refused
    EXPECT_NE(asker.asked[0].text.find(path() + ".unread"), std::string::npos) << asker.asked[0].text;
    EXPECT_NE(asker.asked[1].text.find(path() + ".overflow"), std::string::npos) << asker.asked[1].text;
}

TEST_F(ReminderWindowsTest, ManagerRowClicksToggleTheButtonsAndDeleteRewritesTheFile) {
    seedThree();
    frmCal* cal = windows->showCalendar();
    frmRem* manager = windows->showManager();
    QTreeWidget* list = manager->reminderList();
    EXPECT_FALSE(manager->deleteButton()->isEnabled() || manager->editButton()->isEnabled());
    for (int row : {1, 2}) {
        list->setCurrentItem(list->topLevelItem(row));
        manager->rowClicked(list->topLevelItem(row));
        EXPECT_EQ(manager->deleteButton()->isEnabled() && manager->editButton()->isEnabled(), row == 1);
    }
    EXPECT_EQ(manager->messageView()->toPlainText(), "third body");

    list->setCurrentItem(list->topLevelItem(0));
    manager->deleteSelected();
    EXPECT_EQ(rows(list), (QStringList{"Two|03/21/05|9:05 PM|Yes|off", "Three|03/21/05|1:30 PM|No|on"}));
    EXPECT_EQ(markers(cal), "21:2");

    // Nothing selected: delete and edit do nothing.
    list->clearSelection();
    manager->deleteSelected();
    manager->editSelected();
    EXPECT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(windows->editor(), nullptr);
}

TEST_F(ReminderWindowsTest, EditLoadsTheReminderAndOkReplacesTheRememberedOneAtTheEnd) {
    seedThree();
    frmRem* manager = windows->showManager();
    QTreeWidget* list = manager->reminderList();
    list->setCurrentItem(list->topLevelItem(1));
    manager->editSelected();
    frmAddRem* editor = windows->editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->titleEdit()->text() + "|" + editor->durationBox()->currentText() + "|" +
                  editor->messageEdit()->toPlainText(),
              "Two|Every Week|second body");

    // The user picks another row while the editor is open: the edit still replaces "Two", keeping the
    // date and the time it loaded.
    list->setCurrentItem(list->topLevelItem(0));
    editor->titleEdit()->setText("Two, later");
    editor->ok();
    test::wait(0);
    EXPECT_EQ(rows(list), (QStringList{"One|03/07/05|9:00 AM|No|on", "Three|03/21/05|1:30 PM|No|on",
                                       "Two, later|03/21/05|9:05 PM|Yes|off"}));

    // A new reminder opened over an edit starts afresh, so its OK adds rather than replaces.
    list->setCurrentItem(list->topLevelItem(0));
    manager->editSelected();
    editor = windows->openNewReminder();
    EXPECT_FALSE(editor->editing());
    EXPECT_EQ(editor->titleEdit()->text(), "");
}

TEST_F(ReminderWindowsTest, CalendarLaysOutMonthsMarksTodayAndItsKeysMoveTheDayAndTheMonth) {
    frmCal* cal = windows->showCalendar();
    EXPECT_EQ(cal->monthTitle()->text(), "March 2005");
    EXPECT_EQ(cal->weekNumberLabel()->text(), "12");  // the week of 15 March 2005
    QLabel* today = cal->dayCell(16);
    EXPECT_EQ(today->text(), "15");
    EXPECT_EQ(today->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    // Cells and their day names step 32 pixels across; rows are pushed apart for the markers.
    EXPECT_EQ(cal->dayCell(1)->x() - cal->dayCell(0)->x(), 32);
    EXPECT_EQ(cal->dayName(1)->x() - cal->dayName(0)->x(), 32);
    EXPECT_EQ(cal->dayCell(14)->y() - cal->dayCell(7)->y(), 28);

    // Which cell holds which day, and where years turn, is the grid's rule (tested in the core); here
    // the arrow keys move the chosen day across months, the first press picking today.
    test::pressKey(cal, Qt::Key_Right);
    EXPECT_EQ(cal->selectedDay(), 15);
    for (int i = 0; i < 3; ++i) test::pressKey(cal, Qt::Key_Down);
    EXPECT_EQ(cal->monthTitle()->text(), "April 2005");
    EXPECT_EQ(cal->selectedDay(), 5);
    for (int i = 0; i < 5; ++i) test::pressKey(cal, Qt::Key_Left);
    EXPECT_EQ(cal->selectedDay(), 31);
    // The page keys and the arrow picture move the months, leave no day chosen, and today's mark goes
    // with its month.
    test::pressKey(cal, Qt::Key_PageUp);
    EXPECT_EQ(cal->monthTitle()->text(), "February 2005");
    EXPECT_EQ(cal->selectedDay(), 0);
    EXPECT_FALSE(today->font().bold());
    test::pressKey(cal, Qt::Key_PageDown);
    cal->showNextMonth();
    EXPECT_EQ(cal->monthTitle()->text(), "April 2005");
}

// Left open over midnight, the calendar moves today's mark (and the week number, which is built with
// it); the month of today goes with them. A date that moved while the machine slept, and a background picture
// replaced on disk, are caught when the window is activated.
TEST_F(ReminderWindowsTest, CalendarFollowsTodayAcrossMidnightAndTakesWhatChangedWhenActivated) {
    const std::string picture = dir.path() + "/sky.png";
    const auto paint = [&](Qt::GlobalColor colour) {
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(QString::fromStdString(picture)));
    };
    paint(Qt::red);
    app.settings.BGPicture = picture;
    clock.setLocal(DateTime::fromFields(2005, 4, 30, 23, 59, 59));  // a Saturday
    clock.advanceMillis(900);
    frmCal* cal = windows->showCalendar();
    const auto corner = [cal] { return cal->grab().toImage().pixelColor(4, 120); };
    EXPECT_EQ(corner(), QColor(Qt::red));
    EXPECT_LE(cal->midnightTimer().remainingTime(), 105) << "armed for just after midnight";

    clock.advanceMillis(200);
    test::wait(200);
    EXPECT_EQ(cal->monthTitle()->text(), "May 2005");
    EXPECT_TRUE(cal->dayCell(cal->grid().cellOfDay(1).value())->font().bold());
    EXPECT_GT(cal->midnightTimer().remainingTime(), 86390000) << "armed again for the next midnight";

    paint(Qt::blue);
    std::filesystem::last_write_time(picture,
                                     std::filesystem::last_write_time(picture) + std::chrono::seconds(2));
    clock.advanceSeconds(8 * 86400);  // the machine slept until Monday 9 May
    EXPECT_EQ(corner(), QColor(Qt::red)) << "nothing reads the file before the activation";
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(cal, &activate);
    EXPECT_TRUE(cal->dayCell(cal->grid().cellOfDay(9).value())->font().bold());
    EXPECT_EQ(corner(), QColor(Qt::blue));
}

TEST_F(ReminderWindowsTest, CalendarDayMenusActOnTheChosenDay) {
    seedThree();
    frmCal* cal = windows->showCalendar();

    // A right click on 21 March selects it; "Add Reminder Here" opens the editor on that date.
    cal->cellRightClicked(22, QPoint(10, 10));
    EXPECT_EQ(cal->selectedDay(), 21);
    test::menuEntry(cal->popupMenu(), "&Add Reminder Here")->trigger();
    ASSERT_NE(windows->editor(), nullptr);
    EXPECT_EQ(windows->editor()->dateEdit()->text(), "03/21/05");
    EXPECT_EQ(cal->selectedDay(), 0);
    windows->editor()->cancel();
    test::wait(0);

    // "View Reminders for Day" lists that day's reminders.
    cal->cellClicked(22);
    test::menuEntry(cal->popupMenu(), "&View Reminders for Day")->trigger();
    const std::vector<frmDayRem*> lists = test::shownWindows<frmDayRem>();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0]->list()->topLevelItemCount(), 2);

    // With no day chosen: the editor on today's date.
    EXPECT_EQ(cal->selectedDay(), 0);
    test::menuEntry(cal->popupMenu(), "&Add Reminder Here")->trigger();
    EXPECT_EQ(windows->editor()->dateEdit()->text(), "03/15/05");

    // Empty cells cannot be chosen; the manager opens from the menu.
    cal->cellClicked(0);
    EXPECT_EQ(cal->selectedDay(), 0);
    test::menuEntry(cal->popupMenu(), "Edit/Delete Reminders")->trigger();
    ASSERT_NE(windows->manager(), nullptr);
}

// The menu's export writes the reminders to the file the save dialog names, and its import, in a
// second data folder, adds them back from the file the open dialog names; each says how it went.
TEST_F(ReminderWindowsTest, CalendarMenuExportsAndImportsTheRemindersAsAnIcsFile) {
    seedThree();
    test::FakeCommonDialogs dialogs;
    windows->setDialogs(&dialogs);
    frmCal* cal = windows->showCalendar();
    const ReminderTable before = app.reminders;
    const std::string ics = dir.file("reminders.ics");

    test::menuEntry(cal->popupMenu(), "Export iCalendar...")->trigger();  // cancelled: nothing happens
    EXPECT_TRUE(asker.asked.empty());
    dialogs.saves.push_back(selectionFromPaths({ics}));
    test::menuEntry(cal->popupMenu(), "Export iCalendar...")->trigger();
    ASSERT_EQ(dialogs.saveRequests.size(), 2u);
    EXPECT_EQ(dialogs.saveRequests[1].filter.front().second, "*.ics");
    EXPECT_EQ(dialogs.owners.back(), cal);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, "Exported 3 reminders.");

    app.paths.dataHome = dir.file("second");
    app.reminders = ReminderTable{};
    windows->remindersChanged();
    EXPECT_EQ(markers(cal), "");
    dialogs.files.push_back(selectionFromPaths({ics}));
    test::menuEntry(cal->popupMenu(), "Import iCalendar...")->trigger();
    ASSERT_EQ(asker.asked.size(), 2u);
    EXPECT_EQ(asker.asked[1].text, "Added 3 reminders.\nadded \"One\"\nadded \"Two\"\nadded \"Three\"");
    ReminderTable stored;
    ASSERT_TRUE(readReminders(stored, path()).ok());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ReminderRecord::fromSlot(stored, i), ReminderRecord::fromSlot(before, i));
    EXPECT_EQ(markers(cal), "7:1 21:2");
    cal->grab().save(QString::fromStdString(dir.file("calendar.png")));
    test::menuEntry(cal->popupMenu(), "Import iCalendar...")->trigger();  // cancelled
    EXPECT_EQ(asker.asked.size(), 2u);
}

}  // namespace
}  // namespace tavrin
