#include <array>

#include <gtest/gtest.h>

#include "ReminderTestSupport.h"
#include "reminders/ReminderEditing.h"
#include "reminders/ReminderEditor.h"
#include "reminders/ReminderFile.h"
#include "reminders/ReminderList.h"

namespace tavrin {
namespace {

using testing::occupiedCount;
using testing::putReminder;
using testing::readFile;

ReminderForm form(const std::string& title, const std::string& hour = "9", const std::string& minute = "5",
                  const std::string& amPm = "PM") {
    ReminderForm f;
    f.title = title;
    f.date = "03/07/05";
    f.hour = hour;
    f.minute = minute;
    f.amPm = amPm;
    f.message = "Body of " + title;
    return f;
}

class EditingTest : public ::testing::Test {
  protected:
    void SetUp() override { path = dir.file("Tavrin.DAT"); }
    void addThree() {
        for (const char* t : {"One", "Two", "Three"}) {
            ASSERT_EQ(addReminder(table, form(t), settings, path).status, ReminderChange::Status::Stored);
        }
    }
    testing::TempDir dir;
    std::string path;
    ReminderTable table;
    Settings settings = testing::defaultSettings();
};

TEST(ReminderEditor, TimeFieldsGiveTheStoredTime) {
    // clang-format off
    const std::array<std::string, 4> cases[] = {
        {"9", "5", "PM", "21:05:00"},   {"09", "05", "am", "09:05:00"}, {"12", "0", "AM", "00:00:00"},
        {"12", "30", "PM", "12:30:00"}, {"15", "20", "PM", "15:20:00"}, {"15", "20", "", "15:20:00"},
        {"nine", "5", "PM", ""},        {"24", "0", "AM", ""},          {"9", "60", "AM", ""},
        {"9", "5", "XM", ""},           {"", "5", "PM", ""}};
    // clang-format on
    for (const auto& [hour, minute, amPm, want] : cases)
        EXPECT_EQ(reminderTimeFromFields(hour, minute, amPm), want) << hour << ":" << minute << " " << amPm;
}

TEST(ReminderEditor, NewFormStartsFromNow) {
    const ReminderForm f =
        newReminderForm(DateTime::fromFields(2005, 3, 7, 15, 20, 44), testing::defaultSettings());
    EXPECT_EQ(f.hour, "15");
    EXPECT_EQ(f.minute, "20");
    EXPECT_EQ(f.amPm, "PM");
    EXPECT_EQ(f.date, "03/07/05");
    EXPECT_TRUE(f.enabled);
    EXPECT_FALSE(f.recurring);
    const ReminderForm morning =
        newReminderForm(DateTime::fromFields(2005, 3, 7, 0, 5), testing::defaultSettings());
    EXPECT_EQ(morning.hour, "0");
    EXPECT_EQ(morning.minute, "5");
    EXPECT_EQ(morning.amPm, "AM");
}

TEST(ReminderEditor, FormConversionAndItsRefusals) {
    const Settings s = testing::defaultSettings();
    ReminderForm f = form("Dinner");
    f.date = "3/7/2005";
    FormConversion c = recordFromForm(f, s);
    ASSERT_EQ(c.outcome, FormConversion::Outcome::Record);
    EXPECT_EQ(c.record, (ReminderRecord{"Dinner", "03/07/05", "21:05:00", "1", "-1", "Body of Dinner"}));

    f.date = "someday";
    f.enabled = false;
    f.recurring = true;
    f.recurChoice = 2;
    c = recordFromForm(f, s);
    EXPECT_EQ(c.record.date, "someday");
    EXPECT_EQ(c.record.enabled, "0");
    EXPECT_EQ(c.record.recur, "2");
    f.recurChoice = -1;
    EXPECT_EQ(recordFromForm(f, s).record.recur, "1");

    ReminderForm empty = form("");
    EXPECT_EQ(recordFromForm(empty, s).outcome, FormConversion::Outcome::NoTitle);
    empty.hour = empty.minute = empty.amPm = "";
    EXPECT_EQ(recordFromForm(empty, s).message, kReminderFormError);
    EXPECT_EQ(recordFromForm(form("x", "abc"), s).message, kReminderFormError);

    c = recordFromForm(form("Say \"hi\""), s);
    EXPECT_EQ(c.outcome, FormConversion::Outcome::Refused);
    EXPECT_EQ(c.message, "The reminder title cannot contain a double quote (\").");
    ReminderForm quoted = form("ok");
    quoted.message = "a \"quoted\" word";
    EXPECT_NE(recordFromForm(quoted, s).message.find("message"), std::string::npos);
    quoted.message = "</END>";
    EXPECT_EQ(recordFromForm(quoted, s).outcome, FormConversion::Outcome::Refused);
}

TEST(ReminderEditor, EditFormShowsTheStoredReminder) {
    ReminderTable t;
    putReminder(t, 0, "Dinner", "03/07/05", "21:05:00", "0", "1", "msg");
    putReminder(t, 1, "Night", "03/07/05", "00:30:00", "1", "-1", "");
    const Settings s = testing::defaultSettings();
    ReminderForm f = editReminderForm(t, 0, s);
    EXPECT_EQ(f.hour, "09");
    EXPECT_EQ(f.minute, "5");
    EXPECT_EQ(f.amPm, "PM");
    EXPECT_EQ(f.date, "03/07/05");
    EXPECT_FALSE(f.enabled);
    EXPECT_TRUE(f.recurring);
    EXPECT_EQ(f.recurChoice, 1);
    EXPECT_EQ(f.message, "msg");
    // Round trip: saving the edit form unchanged gives the same record.
    EXPECT_EQ(recordFromForm(f, s).record.time, "21:05:00");
    f = editReminderForm(t, 1, s);
    EXPECT_EQ(f.hour, "12");
    EXPECT_EQ(f.amPm, "AM");
    EXPECT_FALSE(f.recurring);
    EXPECT_EQ(recordFromForm(f, s).record.time, "00:30:00");
}

TEST_F(EditingTest, AddAppendsAndRewritesTheFile) {
    addThree();
    ASSERT_EQ(occupiedCount(table), 3);
    EXPECT_EQ(table.RemTime[2], "21:05:00");
    EXPECT_EQ(readFile(path), SerialiseReminders(table));
    const auto rows = managerRows(table, settings);
    ASSERT_EQ(rows.size(), 3u);
    const auto& r = rows[2];
    EXPECT_EQ(r.title + "|" + r.date + "|" + r.time + "|" + r.occurs, "Three|03/07/05|9:05 PM|No");
    EXPECT_EQ(r.slot, 2);
    EXPECT_TRUE(r.enabled);
}

TEST_F(EditingTest, FullTableRefusesTheNextReminder) {
    for (int i = 0; i < kReminderSlots; ++i)
        putReminder(table, i, "R" + std::to_string(i), "03/07/05", "09:00:00");
    ASSERT_TRUE(SaveReminders(table, path).ok);
    const std::string before = readFile(path);
    const ReminderChange c = addReminder(table, form("One too many"), settings, path);
    EXPECT_EQ(c.status, ReminderChange::Status::Refused);
    EXPECT_EQ(c.message, kReminderFormError);
    EXPECT_EQ(readFile(path), before);
    // An edit still works in a full table.
    EXPECT_EQ(editReminder(table, 3, "R3", form("Edited"), settings, path).slot, 255);
    EXPECT_EQ(table.RemTitle[255], "Edited");
    EXPECT_EQ(table.RemTitle[3], "R4");
}

TEST_F(EditingTest, EditMovesTheReminderToTheEnd) {
    addThree();
    const ReminderChange c =
        editReminder(table, 1, "Two", form("Two edited", "7", "45", "AM"), settings, path);
    ASSERT_EQ(c.status, ReminderChange::Status::Stored);
    ASSERT_EQ(occupiedCount(table), 3);
    EXPECT_EQ(table.RemTitle[0] + "|" + table.RemTitle[1] + "|" + table.RemTitle[2], "One|Three|Two edited");
    EXPECT_EQ(table.RemTime[2], "07:45:00");
    EXPECT_EQ(c.slot, 2);
    EXPECT_EQ(readFile(path), SerialiseReminders(table));
}

TEST_F(EditingTest, EditFollowsItsReminderWhenTheTableChangedMeanwhile) {
    addThree();
    ASSERT_TRUE(deleteReminder(table, 0, path).ok());  // "Two" is now in slot 0
    editReminder(table, 1, "Two", form("Two edited"), settings, path);
    EXPECT_EQ(table.RemTitle[0], "Three");
    EXPECT_EQ(table.RemTitle[1], "Two edited");
    EXPECT_EQ(editReminder(table, 0, "Gone", form("x"), settings, path).status,
              ReminderChange::Status::Refused);
}

TEST_F(EditingTest, ClearingTheTitleOfAnEditKeepsTheReminder) {
    addThree();
    const ReminderChange c = editReminder(table, 1, "Two", form(""), settings, path);
    EXPECT_EQ(c.status, ReminderChange::Status::NothingStored);
    EXPECT_EQ(table.RemTitle[1], "Two");
    EXPECT_EQ(occupiedCount(table), 3);
}

TEST_F(EditingTest, DeleteMovesLaterRemindersDown) {
    addThree();
    ASSERT_EQ(deleteReminder(table, 0, path).status, ReminderChange::Status::Stored);
    ASSERT_EQ(occupiedCount(table), 2);
    EXPECT_EQ(table.RemTitle[0], "Two");
    EXPECT_EQ(table.RemTitle[1], "Three");
    EXPECT_TRUE(table.RemBody[2].empty());
    ReminderTable back;
    EXPECT_EQ(ParseReminders(readFile(path), back).records, 2);
    EXPECT_EQ(deleteReminder(table, 5, path).status, ReminderChange::Status::NothingStored);
    EXPECT_EQ(deleteReminder(table, -1, path).status, ReminderChange::Status::NothingStored);
}

TEST_F(EditingTest, FailedSaveLeavesTableAndFileAsTheyWere) {
    addThree();
    const ReminderTable before = table;
    testing::writeFile(dir.file("plain"), "x");
    const std::string bad = dir.file("plain/Tavrin.DAT");
    EXPECT_EQ(addReminder(table, form("Four"), settings, bad).status, ReminderChange::Status::SaveFailed);
    EXPECT_EQ(deleteReminder(table, 0, bad).status, ReminderChange::Status::SaveFailed);
    const ReminderChange c = editReminder(table, 0, "One", form("New"), settings, bad);
    EXPECT_EQ(c.status, ReminderChange::Status::SaveFailed);
    EXPECT_FALSE(c.message.empty());
    EXPECT_EQ(table.RemTitle, before.RemTitle);
    EXPECT_EQ(table.RemBody, before.RemBody);
}

TEST(ReminderList, DayListRows) {
    ReminderTable t;
    const Settings s = testing::defaultSettings();
    putReminder(t, 0, "Dentist", "03/07/05", "09:30:00", "1", "-1", "first");
    putReminder(t, 1, "Call", "03/08/05", "09:30:00", "0", "2", "second");
    putReminder(t, 2, "Dentist", "03/08/05", "09:30:00", "1", "abc", "third");
    DayList byLine = dayListRows(t, "9:30 AM - Dentist", "", s);
    ASSERT_EQ(byLine.rows.size(), 2u);
    EXPECT_EQ(byLine.rows[0].slot, 0);
    EXPECT_EQ(byLine.rows[1].slot, 2);
    EXPECT_EQ(byLine.rows[1].occurs, "Yes");
    EXPECT_EQ(byLine.message, "third");
    DayList byDate = dayListRows(t, "", "03/08/05", s);
    ASSERT_EQ(byDate.rows.size(), 2u);
    EXPECT_FALSE(byDate.rows[0].enabled);
    EXPECT_EQ(byDate.rows[0].time, "9:30 AM");
    EXPECT_TRUE(dayListRows(t, "", "", s).rows.empty());
    EXPECT_TRUE(dayListRows(t, " - ", "", s).rows.empty());
    EXPECT_TRUE(dayListRows(ReminderTable{}, "", "03/08/05", s).rows.empty());
}

}  // namespace
}  // namespace tavrin
