#include "ui/reminders/ReminderWindows.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTreeWidget>
#include <chrono>
#include <filesystem>

#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderUpdate.h"
#include "core/store/MemoryStore.h"
#include "support/FakeClock.h"
#include "support/RecordingShell.h"
#include "support/ReminderTestSupport.h"
#include "support/ScriptedAsker.h"
#include "support/TestApp.h"
#include "ui/reminders/frmAddRem.h"
#include "ui/reminders/frmCal.h"
#include "ui/reminders/frmDayRem.h"
#include "ui/reminders/frmRem.h"

namespace tavrin {
namespace {

using test::putReminder;
using test::readFile;

// Today is Tuesday 15 March 2005, 15:20 local time.
struct ReminderWindowsTest : ::testing::Test {
    test::TempDir dir{"tavrin-remwin"};
    MemoryStore store;
    test::FakeClock clock{DateTime::fromFields(2005, 3, 15, 15, 20, 0)};
    test::RecordingShell shell;
    test::ScriptedAsker asker;
    AppState app{store, clock, shell, asker, Paths{}};
    std::unique_ptr<ReminderWindows> windows;

    void SetUp() override {
        test::ensureApp();
        app.paths.dataHome = dir.path();
        app.settings = test::defaultSettings();
        app.settings.WForeColor = "0";
        windows = std::make_unique<ReminderWindows>(app, TAVRIN_SOURCE_DIR "/Images");
    }
    void TearDown() override {
        windows.reset();
        for (QWidget* w : QApplication::topLevelWidgets()) delete w;
    }
    std::string path() const { return app.paths.reminderFile(); }
    // Three reminders, saved: One on 03/07/05, Two and Three on 03/21/05.
    void seedThree() {
        putReminder(app.reminders, 0, "One", "03/07/05", "09:00:00", "1", "-1", "first body");
        putReminder(app.reminders, 1, "Two", "03/21/05", "21:05:00", "0", "2", "second body");
        putReminder(app.reminders, 2, "Three", "03/21/05", "13:30:00", "1", "-1", "third body");
        ASSERT_TRUE(SaveReminders(app.reminders, path()).ok);
    }
    void fillEditor(frmAddRem* e, const QString& title, const QString& date, const QString& hour,
                    const QString& minute, const QString& half, const QString& body = "a message") {
        e->Text4()->setText(title);
        e->Text1()->setText(date);
        e->txtHour()->setText(hour);
        e->txtMinute()->setText(minute);
        e->Combo1()->setEditText(half);
        e->Text3()->setPlainText(body);
    }
    // Rows as "title|date|time|occurs|on/off" for the manager.
    static QStringList rows(QTreeWidget* list) {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* r = list->topLevelItem(i);
            out << r->text(0) + "|" + r->text(1) + "|" + r->text(2) + "|" + r->text(4) + "|" +
                       (r->checkState(0) == Qt::Checked ? "on" : "off");
        }
        return out;
    }
    // The day numbers of the calendar's 35 cells, "." for an empty one.
    static std::string cells(frmCal* cal) {
        QStringList out;
        for (int k = 0; k < CalendarGrid::kCells; ++k) {
            const QString t = cal->lblCentre(k)->text();
            out << (t.isEmpty() ? "." : t);
        }
        return out.join(' ').toStdString();
    }
    // Days of the shown month that carry a marker, as "day:count".
    static QString markers(frmCal* cal) {
        QStringList out;
        for (const CalendarCell& c : cal->grid().cells())
            if (c.markers > 0) out << QString::fromStdString(c.caption) + ":" + QString::number(c.markers);
        return out.join(' ');
    }
    static void key(QWidget* w, int k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
    }
    static QAction* action(QMenu* menu, const QString& text) {
        for (QAction* a : menu->actions())
            if (a->text() == text) return a;
        return nullptr;
    }
    std::vector<frmDayRem*> dayLists() const {
        std::vector<frmDayRem*> found;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* l = qobject_cast<frmDayRem*>(w); l && l->isVisible()) found.push_back(l);
        return found;
    }
};

TEST_F(ReminderWindowsTest, EditorOpensOnNowAndItsOkAppendsTheReminderToFileManagerAndCalendar) {
    seedThree();
    frmCal* cal = windows->showCalendar();
    frmRem* manager = windows->showManager();
    EXPECT_EQ(markers(cal), "7:1 21:2");

    frmAddRem* editor = windows->openNewReminder();
    EXPECT_EQ(editor->windowTitle(), "Add Reminder");
    EXPECT_EQ(editor->txtHour()->text() + " " + editor->txtMinute()->text() + " " +
                  editor->Combo1()->currentText() + " " + editor->Text1()->text(),
              "15 20 PM 03/15/05");
    EXPECT_TRUE(editor->Check1()->isChecked());
    EXPECT_FALSE(editor->Check2()->isChecked() || editor->Combo2()->isEnabled());

    fillEditor(editor, "Dentist", "03/07/05", "9", "5", "PM", "Bring the card");
    editor->Check2()->setChecked(true);
    EXPECT_TRUE(editor->Combo2()->isEnabled());
    editor->Combo2()->setCurrentIndex(2);  // "Every Week"
    editor->Command2_Click();
    test::wait(0);

    EXPECT_EQ(windows->editor(), nullptr) << "the editor closes after a good OK";
    EXPECT_EQ(ReminderRecord::fromSlot(app.reminders, 3),
              (ReminderRecord{"Dentist", "03/07/05", "21:05:00", "1", "2", "Bring the card"}));
    EXPECT_NE(readFile(path()).find("\"Dentist\"\r\n\"03/07/05\"\r\n\"21:05:00\"\r\n\"1\"\r\n\"2\"\r\n"),
              std::string::npos);
    EXPECT_EQ(rows(manager->ListView1()).last(), "Dentist|03/07/05|9:05 PM|Yes|on");
    EXPECT_EQ(markers(cal), "7:2 21:2") << "one marker more, the others placed once again";
}

TEST_F(ReminderWindowsTest, EditorOkRefusalsSayWhyAndKeepTheEditorOpenWithItsFields) {
    struct Case {
        const char* why;
        QString title, hour, minute, half, body;
        std::string message;
    };
    const Case cases[] = {
        {"no time", "Tea", "", "", "", "",
         "An unexpected error has occured, you may not have filled in the form."},
        {"quote in message", "Tea", "9", "5", "AM", "2\" pipe",
         "The reminder message cannot contain a double quote (\")."},
    };
    for (const Case& c : cases) {
        asker.asked.clear();
        frmAddRem* editor = windows->openNewReminder();
        fillEditor(editor, c.title, "03/07/05", c.hour, c.minute, c.half, c.body);
        editor->Command2_Click();
        test::wait(0);
        ASSERT_EQ(asker.asked.size(), 1u) << c.why;
        EXPECT_EQ(asker.asked[0], (test::ScriptedAsker::Asked{"Tavrin Error Message", c.message})) << c.why;
        ASSERT_EQ(windows->editor(), editor) << c.why;
        EXPECT_TRUE(editor->isVisible()) << c.why;
        EXPECT_EQ(editor->Text4()->text(), c.title) << c.why;
        EXPECT_TRUE(app.reminders.RemTitle[0].empty()) << c.why;
    }
    EXPECT_FALSE(std::filesystem::exists(path()));

    // An empty title stores nothing and closes without a word.
    asker.asked.clear();
    frmAddRem* editor = windows->openNewReminder();
    editor->Text4()->clear();
    editor->Command2_Click();
    test::wait(0);
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(windows->editor(), nullptr);
    EXPECT_TRUE(app.reminders.RemTitle[0].empty());
}

TEST_F(ReminderWindowsTest, FullTableAndFailedSaveLoseNothing) {
    for (int i = 0; i < kReminderSlots; ++i)
        putReminder(app.reminders, i, "R" + std::to_string(i), "03/07/05", "09:00:00");
    ASSERT_TRUE(SaveReminders(app.reminders, path()).ok);
    const std::string before = readFile(path());
    frmAddRem* editor = windows->openNewReminder();
    fillEditor(editor, "One too many", "03/07/05", "9", "5", "AM");
    editor->Command2_Click();
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, "An unexpected error has occured, you may not have filled in the form.");
    EXPECT_EQ(readFile(path()), before);

    // The file's folder cannot be made (a plain file stands where it should be): the reason reaches
    // the user, the fields stay, and the table is as it was.
    app.reminders = ReminderTable{};
    putReminder(app.reminders, 0, "Kept", "03/07/05", "09:00:00");
    test::writeFile(dir.file("not-a-folder"), "x");
    app.paths.dataHome = dir.file("not-a-folder");
    asker.asked.clear();
    fillEditor(editor, "Lost?", "03/08/05", "10", "0", "AM");
    editor->Command2_Click();
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].title, "Tavrin Error Message");
    EXPECT_NE(asker.asked[0].text.find("could not be saved"), std::string::npos) << asker.asked[0].text;
    EXPECT_GT(asker.asked[0].text.size(), std::string("The reminder could not be saved. ").size())
        << "the reason is given";
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->Text4()->text(), "Lost?");
    EXPECT_EQ(app.reminders.RemTitle[1], "");
}

// The file was replaced while the clock ran and read again by it: the editor's and the manager's
// saves keep what the table cannot hold aside first, and tell the user where.
TEST_F(ReminderWindowsTest, EditorAndManagerTellWhereAFileWasKeptAsideBeforeTheirSave) {
    seedThree();
    ASSERT_TRUE(LoadReminders(app.reminders, path()).ok);
    const std::string csv = "Title,Date,Time\r\nDentist,2005-03-07,09:30\r\n";
    test::writeFile(path(), csv);
    ASSERT_TRUE(reloadRemindersIfChanged(app.reminders, path()).ok);
    frmAddRem* editor = windows->openNewReminder();
    fillEditor(editor, "Tea", "03/07/05", "9", "5", "AM");
    editor->Command2_Click();
    const std::string overflow = test::recordText("Tea") + test::recordText("");
    test::writeFile(path(), overflow);
    ASSERT_TRUE(reloadRemindersIfChanged(app.reminders, path()).ok);
    frmRem* manager = windows->showManager();
    manager->ListView1()->setCurrentItem(manager->ListView1()->topLevelItem(0));
    manager->Command3_Click();

    ASSERT_EQ(asker.asked.size(), 2u);
    const std::string copies[] = {path() + ".unread", path() + ".overflow"};
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(asker.asked[i].title, "Tavrin System Message");
        EXPECT_NE(asker.asked[i].text.find(copies[i]), std::string::npos) << asker.asked[i].text;
    }
    EXPECT_EQ(readFile(copies[0]), csv);
    EXPECT_EQ(readFile(copies[1]), overflow);
    EXPECT_EQ(occupiedSlots(app.reminders), 0);
}

TEST_F(ReminderWindowsTest, ManagerRowClicksToggleTheButtonsAndDeleteRewritesTheFile) {
    seedThree();
    frmCal* cal = windows->showCalendar();
    frmRem* manager = windows->showManager();
    QTreeWidget* list = manager->ListView1();
    EXPECT_EQ(rows(list), (QStringList{"One|03/07/05|9:00 AM|No|on", "Two|03/21/05|9:05 PM|Yes|off",
                                       "Three|03/21/05|1:30 PM|No|on"}));
    EXPECT_TRUE(list->isColumnHidden(3));
    const auto buttons = [&] {
        return QString(manager->Command3()->isEnabled() ? "on" : "off") + "/" +
               (manager->Command4()->isEnabled() ? "on" : "off");
    };
    EXPECT_EQ(buttons(), "off/off");
    list->setCurrentItem(list->topLevelItem(1));
    manager->ListView1_Click(list->topLevelItem(1));
    EXPECT_EQ(manager->Text1()->toPlainText(), "second body");
    EXPECT_EQ(buttons(), "on/on");
    list->setCurrentItem(list->topLevelItem(2));
    manager->ListView1_Click(list->topLevelItem(2));
    EXPECT_EQ(buttons(), "off/off");
    EXPECT_EQ(manager->Text1()->toPlainText(), "third body");

    QStringList menu;
    for (QAction* a : manager->mnuFile()->actions()) menu << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(menu, (QStringList{"Edit Item", "-", "Delete Item"}));

    list->setCurrentItem(list->topLevelItem(0));
    manager->Command3_Click();
    EXPECT_EQ(rows(list), (QStringList{"Two|03/21/05|9:05 PM|Yes|off", "Three|03/21/05|1:30 PM|No|on"}));
    EXPECT_EQ(manager->Text1()->toPlainText(), "");
    ReminderTable onDisk;
    ASSERT_TRUE(readReminders(onDisk, path()).ok);
    EXPECT_EQ(occupiedSlots(onDisk), 2);
    EXPECT_EQ(onDisk.RemTitle[0], "Two");
    EXPECT_EQ(markers(cal), "21:2");

    // Nothing selected: delete and edit do nothing.
    list->clearSelection();
    manager->Command3_Click();
    manager->Command4_Click();
    EXPECT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(windows->editor(), nullptr);
}

TEST_F(ReminderWindowsTest, EditLoadsTheReminderAndOkReplacesTheRememberedOneAtTheEnd) {
    seedThree();
    frmRem* manager = windows->showManager();
    QTreeWidget* list = manager->ListView1();
    list->setCurrentItem(list->topLevelItem(1));
    manager->Command4_Click();
    frmAddRem* editor = windows->editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->editing());
    EXPECT_EQ(editor->Text4()->text() + "|" + editor->Text1()->text() + "|" + editor->txtHour()->text() +
                  ":" + editor->txtMinute()->text() + " " + editor->Combo1()->currentText() + "|" +
                  editor->Combo2()->currentText() + "|" + editor->Text3()->toPlainText(),
              "Two|03/21/05|09:5 PM|Every Week|second body");
    EXPECT_FALSE(editor->Check1()->isChecked());
    EXPECT_TRUE(editor->Check2()->isChecked() && editor->Combo2()->isEnabled());

    // The user picks another row while the editor is open: the edit still replaces "Two".
    list->setCurrentItem(list->topLevelItem(0));
    editor->Text4()->setText("Two, later");
    editor->txtMinute()->setText("35");
    editor->Command2_Click();
    test::wait(0);
    EXPECT_EQ(rows(list), (QStringList{"One|03/07/05|9:00 AM|No|on", "Three|03/21/05|1:30 PM|No|on",
                                       "Two, later|03/21/05|9:35 PM|Yes|off"}));
    ReminderTable onDisk;
    ASSERT_TRUE(readReminders(onDisk, path()).ok);
    EXPECT_EQ(ReminderRecord::fromSlot(onDisk, 2),
              (ReminderRecord{"Two, later", "03/21/05", "21:35:00", "0", "2", "second body"}));

    // A new reminder opened over an edit starts afresh, so its OK adds rather than replaces.
    list->setCurrentItem(list->topLevelItem(0));
    manager->Command4_Click();
    editor = windows->openNewReminder();
    EXPECT_FALSE(editor->editing());
    EXPECT_EQ(editor->Text4()->text(), "");
}

TEST_F(ReminderWindowsTest, CalendarLaysOutMonthsMarksTodayAndChangesMonth) {
    frmCal* cal = windows->showCalendar();
    EXPECT_EQ(cal->size(), QSize(240, 240));
    EXPECT_TRUE(cal->windowFlags() & Qt::FramelessWindowHint);
    QStringList names;
    for (int i = 0; i < 7; ++i) names << cal->Label2(i)->text();
    EXPECT_EQ(names.join(' '), "Sun Mon Tue Wed Thu Fri Sat");
    EXPECT_EQ(cal->Label2(7)->text(), "March 2005");
    EXPECT_EQ(cells(cal),
              ". . 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31 . .");
    EXPECT_EQ(cal->Label13()->text(), "12");  // the week of 15 March 2005
    QLabel* today = cal->lblCentre(16);
    EXPECT_EQ(today->text(), "15");
    EXPECT_TRUE(today->font().bold());
    EXPECT_EQ(today->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_FALSE(cal->lblCentre(15)->font().bold());
    EXPECT_EQ(cal->lblCentre(15)->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    // Cells step 32 pixels across; rows are pushed apart for the markers.
    EXPECT_EQ(cal->lblCentre(1)->x() - cal->lblCentre(0)->x(), 32);
    EXPECT_EQ(cal->lblCentre(7)->y() - cal->lblCentre(0)->y(), 27);
    EXPECT_EQ(cal->lblCentre(14)->y() - cal->lblCentre(7)->y(), 28);

    // Which cell holds which day, and where years turn, is the grid's rule (tested in the core); here
    // the keys and the arrow picture move the months and today's mark goes with its month.
    key(cal, Qt::Key_PageUp);
    EXPECT_EQ(cal->Label2(7)->text(), "February 2005");
    EXPECT_EQ(cells(cal),
              ". . 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 . . . . .");
    for (int k = 0; k < CalendarGrid::kCells; ++k) EXPECT_FALSE(cal->lblCentre(k)->font().bold()) << k;
    key(cal, Qt::Key_PageDown);
    key(cal, Qt::Key_PageDown);
    EXPECT_EQ(cal->Label2(7)->text(), "April 2005");
    cal->Image2_Click(1);
    EXPECT_EQ(cal->Label2(7)->text(), "May 2005");
}

// Left open over midnight, the calendar moves today's mark and the week number; the month of today
// goes with them. A date that moved while the machine slept is caught when the window is activated.
TEST_F(ReminderWindowsTest, CalendarFollowsTodayAcrossMidnightAndAfterASleep) {
    clock.setLocal(DateTime::fromFields(2005, 4, 30, 23, 59, 59));  // a Saturday
    clock.advanceMillis(900);
    frmCal* cal = windows->showCalendar();
    EXPECT_EQ(cal->Label2(7)->text(), "April 2005");
    EXPECT_EQ(cal->Label13()->text(), "18");
    EXPECT_TRUE(cal->lblCentre(cal->grid().cellOfDay(30))->font().bold());
    EXPECT_LE(cal->midnightTimer().remainingTime(), 105) << "armed for just after midnight";

    clock.advanceMillis(200);
    test::wait(200);
    EXPECT_EQ(cal->Label2(7)->text(), "May 2005");
    EXPECT_EQ(cal->Label13()->text(), "19");
    QLabel* first = cal->lblCentre(cal->grid().cellOfDay(1));
    EXPECT_TRUE(first->font().bold());
    EXPECT_EQ(first->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_GT(cal->midnightTimer().remainingTime(), 86390000) << "armed again for the next midnight";

    clock.advanceSeconds(8 * 86400);  // the machine slept until Monday 9 May
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(cal, &activate);
    EXPECT_EQ(cal->Label13()->text(), "20");
    EXPECT_FALSE(first->font().bold());
    EXPECT_TRUE(cal->lblCentre(cal->grid().cellOfDay(9))->font().bold());
}

// A background picture replaced on disk is taken when the calendar is next activated.
TEST_F(ReminderWindowsTest, CalendarTakesAReplacedBackgroundWhenActivated) {
    const std::string picture = dir.path() + "/sky.png";
    const auto paint = [&](Qt::GlobalColor colour) {
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(QString::fromStdString(picture)));
    };
    paint(Qt::red);
    app.settings.BGPicture = picture;
    frmCal* cal = windows->showCalendar();
    const auto corner = [cal] { return cal->grab().toImage().pixelColor(4, 120); };
    EXPECT_EQ(corner(), QColor(Qt::red));
    paint(Qt::blue);
    std::filesystem::last_write_time(picture,
                                     std::filesystem::last_write_time(picture) + std::chrono::seconds(2));
    EXPECT_EQ(corner(), QColor(Qt::red)) << "nothing reads the file before the activation";
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(cal, &activate);
    EXPECT_EQ(corner(), QColor(Qt::blue));
}

TEST_F(ReminderWindowsTest, CalendarDayMenusActOnTheChosenDay) {
    seedThree();
    frmCal* cal = windows->showCalendar();
    QStringList items;
    for (QAction* a : cal->popupMenu()->actions()) items << a->text();
    EXPECT_EQ(items, (QStringList{"Reminders", "&Add Reminder Here", "&View Reminders for Day",
                                  "Manage Reminders", "Add New Reminder", "Edit/Delete Reminders"}));

    // A right click on 21 March selects it; "Add Reminder Here" opens the editor on that date.
    cal->cellRightClicked(22, QPoint(10, 10));
    EXPECT_EQ(cal->selectedDay(), 21);
    EXPECT_TRUE(cal->popupMenu()->isVisible());
    cal->popupMenu()->hide();
    action(cal->popupMenu(), "&Add Reminder Here")->trigger();
    ASSERT_NE(windows->editor(), nullptr);
    EXPECT_EQ(windows->editor()->Text1()->text(), "03/21/05");
    EXPECT_EQ(cal->selectedDay(), 0);
    windows->editor()->Command1_Click();
    test::wait(0);

    // "View Reminders for Day" lists that day's reminders.
    cal->cellClicked(22);
    action(cal->popupMenu(), "&View Reminders for Day")->trigger();
    ASSERT_EQ(dayLists().size(), 1u);
    QTreeWidget* day = dayLists()[0]->list();
    ASSERT_EQ(day->topLevelItemCount(), 2);
    EXPECT_EQ(day->topLevelItem(0)->text(0) + "," + day->topLevelItem(1)->text(0), "Two,Three");
    dayLists()[0]->close();
    test::wait(0);

    // With no day chosen: the editor on today's date, and an empty day list.
    EXPECT_EQ(cal->selectedDay(), 0);
    action(cal->popupMenu(), "&Add Reminder Here")->trigger();
    EXPECT_EQ(windows->editor()->Text1()->text(), "03/15/05");
    action(cal->popupMenu(), "&View Reminders for Day")->trigger();
    ASSERT_EQ(dayLists().size(), 1u);
    EXPECT_EQ(dayLists()[0]->list()->topLevelItemCount(), 0);

    // Empty cells cannot be chosen; the manager opens from the menu.
    cal->cellClicked(0);
    EXPECT_EQ(cal->selectedDay(), 0);
    action(cal->popupMenu(), "Edit/Delete Reminders")->trigger();
    ASSERT_NE(windows->manager(), nullptr);
    EXPECT_TRUE(windows->manager()->isVisible());
}

TEST_F(ReminderWindowsTest, ArrowKeysMoveTheChosenDayAcrossMonths) {
    frmCal* cal = windows->showCalendar();
    key(cal, Qt::Key_Right);
    EXPECT_EQ(cal->selectedDay(), 15) << "the first key press picks today";
    key(cal, Qt::Key_Down);
    key(cal, Qt::Key_Down);
    EXPECT_EQ(cal->selectedDay(), 29);
    key(cal, Qt::Key_Down);
    EXPECT_EQ(cal->Label2(7)->text(), "April 2005");
    EXPECT_EQ(cal->selectedDay(), 5);
    key(cal, Qt::Key_Left);
    key(cal, Qt::Key_Left);
    key(cal, Qt::Key_Left);
    key(cal, Qt::Key_Left);
    key(cal, Qt::Key_Left);
    EXPECT_EQ(cal->Label2(7)->text(), "March 2005");
    EXPECT_EQ(cal->selectedDay(), 31);
    key(cal, Qt::Key_PageDown);
    EXPECT_EQ(cal->selectedDay(), 0);
}

TEST_F(ReminderWindowsTest, NewSettingsReachAnOpenCalendar) {
    seedThree();
    frmCal* cal = windows->showCalendar();
    app.settings.WForeColor = "FF0000";  // blue: red is the low byte
    app.settings.DateFormat = "dd.mm.yyyy";
    cal->applySettings();
    EXPECT_EQ(cal->Label2(7)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(cal->Label2(3)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(markers(cal), "") << "dates stored in another format match no day";
    app.settings.DateFormat = "mm/dd/yy";
    cal->applySettings();
    EXPECT_EQ(markers(cal), "7:1 21:2");
}

}  // namespace
}  // namespace tavrin
