#include <array>
#include <tuple>

#include <gtest/gtest.h>

#include "core/reminders/ReminderEditing.h"
#include "core/reminders/ReminderEditor.h"
#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderList.h"
#include "support/InstalledLocale.h"
#include "support/ReminderTestSupport.h"

namespace tavrin {
namespace {

using test::form;
using test::putReminder;
using test::readFile;
using test::titles;

// Every field of a form but the title, to compare in one go.
std::string fields(const ReminderForm& f) {
    return f.date + " " + f.hour + ":" + f.minute + " " + f.amPm + (f.enabled ? " on" : " off") +
           (f.recurring ? " every " : " once ") + std::to_string(f.recurChoice) + " [" + f.message + "]";
}

std::string row(const ReminderRow& r) {
    return std::to_string(r.slot) + " " + r.title + "|" + r.date + "|" + r.time + "|" + r.occurs +
           (r.enabled ? "|on" : "|off");
}

class EditingTest : public test::ReminderFolder {
  protected:
    void SetUp() override {
        for (const char* t : {"One", "Two", "Three"})
            ASSERT_TRUE(addReminder(table, form(t), settings, path).stored);
    }
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

TEST(ReminderEditor, NewFormStartsFromNowAndEditFormShowsTheStoredReminder) {
    const Settings s = test::defaultSettings();
    EXPECT_EQ(fields(newReminderForm(DateTime::fromFields(2005, 3, 7, 15, 20, 44), s)),
              "03/07/05 15:20 PM on once -1 []");
    EXPECT_EQ(fields(newReminderForm(DateTime::fromFields(2005, 3, 7, 0, 5), s)),
              "03/07/05 0:5 AM on once -1 []");

    ReminderTable t;
    putReminder(t, 0, "Dinner", "03/07/05", "21:05:00", "0", "1", "msg");
    putReminder(t, 1, "Night", "03/07/05", "00:30:00", "1", "-1", "");
    EXPECT_EQ(fields(editReminderForm(t, 0, s)), "03/07/05 09:5 PM off every 1 [msg]");
    EXPECT_EQ(fields(editReminderForm(t, 1, s)), "03/07/05 12:30 AM on once -1 []");
}

TEST(ReminderEditor, FormConversionAndItsRefusals) {
    const Settings s = test::defaultSettings();
    ReminderForm f = form("Dinner");
    f.date = "3/7/2005";
    // The record of a form that is taken.
    const auto record = [](const ReminderForm& taken, const Settings& with) {
        return *recordFromForm(taken, with).value();
    };
    EXPECT_EQ(record(f, s), (ReminderRecord{"Dinner", "03/07/05", "21:05:00", "1", "-1", "Body of Dinner"}));

    f.enabled = false;
    f.recurring = true;
    f.recurChoice = 2;
    const ReminderRecord r = record(f, s);
    EXPECT_EQ(r.date + " " + r.enabled + " " + r.recur, "03/07/05 0 2");
    f.recurChoice = -1;
    EXPECT_EQ(record(f, s).recur, "1");

    // Stored as typed, a date that is no day would never come due. A format without a year (or with
    // the weekday alone) writes texts that read as no date, and yet come round every year (week).
    // clang-format off
    const struct {
        const char *format, *date;
        bool taken;
    } dates[] = {{"mm/dd/yy", "someday", false}, {"mm/dd/yy", "", false}, {"mm/dd/yy", "03/07", false},
                 {"mmmm dd", "March 07", true},  {"mmmm dd", "March 32", false}, {"dddd", "Monday", true}};
    // clang-format on
    for (const auto& d : dates) {
        Settings withFormat = s;
        withFormat.DateFormat = d.format;
        f.date = d.date;
        const Result c = recordFromForm(f, withFormat);
        EXPECT_EQ(c.ok(), d.taken) << d.format << " " << d.date;
        if (!d.taken) {
            EXPECT_EQ(c.message(), "Warning! The reminder date \"" + std::string(d.date) +
                                       "\" is not a date in the date format " + d.format +
                                       ", the reminder was not saved.");
        }
    }

    ReminderForm empty = form("");
    EXPECT_EQ(recordFromForm(empty, s).value(), std::nullopt);  // no title: nothing to store
    empty.hour = empty.minute = empty.amPm = "";
    EXPECT_EQ(recordFromForm(empty, s).message(), kReminderFormError);
    EXPECT_EQ(recordFromForm(form("x", "abc"), s).message(), kReminderFormError);

    EXPECT_EQ(recordFromForm(form("Say \"hi\""), s).message(),
              "The reminder title cannot contain a double quote (\").");
    f = form("ok");
    f.message = "a \"quoted\" word";
    EXPECT_NE(recordFromForm(f, s).message().find("message"), std::string::npos);
    f.message = "</END>";
    EXPECT_FALSE(recordFromForm(f, s).ok());
}

// The user reads and types dates with the names of their language; the file keeps English ones, which
// read back under any language.
TEST(ReminderEditor, DatesAreShownInTheUsersLanguageAndStoredInEnglish) {
    Settings s = test::defaultSettings();
    s.DateFormat = "d. mmmm yyyy";
    s.calendarNames = test::installedLocaleNames("de_DE.UTF-8");
    EXPECT_EQ(newReminderForm(DateTime::fromFields(2026, 3, 2, 9, 0), s).date, "2. März 2026");
    ReminderForm f = form("Dinner");
    f.date = "2. März 2026";
    EXPECT_EQ(recordFromForm(f, s).value()->date, "2. March 2026");
    ReminderTable t;
    putReminder(t, 0, "Dinner", "2. March 2026", "21:05:00", "1", "-1", "");
    EXPECT_EQ(editReminderForm(t, 0, s).date, "2. März 2026");
    EXPECT_EQ(managerRows(t, s).at(0).date, "2. März 2026");
}

TEST_F(EditingTest, FullTableRefusesTheNextReminderButTakesAnEdit) {
    for (int i = 0; i < kReminderSlots; ++i)
        putReminder(table, i, "R" + std::to_string(i), "03/07/05", "09:00:00");
    ASSERT_TRUE(saveReminders(table, path).ok());
    const std::string before = readFile(path);
    const ReminderChange c = addReminder(table, form("One too many"), settings, path);
    EXPECT_EQ(c.message(), kReminderFormError);
    EXPECT_FALSE(c.ok());
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(editReminder(table, 3, "R3", form("Edited"), settings, path).slot, 255);
    EXPECT_EQ(table.titles[255], "Edited");
    EXPECT_EQ(table.titles[3], "R4");
}

TEST_F(EditingTest, EditMovesTheReminderToTheEndFollowsItAndClearingItsTitleKeepsIt) {
    const ReminderChange c =
        editReminder(table, 1, "Two", form("Two edited", "7", "45", "AM"), settings, path);
    ASSERT_TRUE(c.stored);
    EXPECT_EQ(titles(table), "One|Three|Two edited");
    EXPECT_EQ(table.times[2], "07:45:00");
    EXPECT_EQ(c.slot, 2);
    EXPECT_EQ(readFile(path), serialiseReminders(table));
    const ReminderChange untitled = editReminder(table, 1, "Three", form(""), settings, path);
    EXPECT_TRUE(untitled.ok() && !untitled.stored);
    EXPECT_EQ(titles(table), "One|Three|Two edited");
    // The edit follows its reminder when the table changed meanwhile.
    ASSERT_TRUE(deleteReminder(table, 0, path).ok());  // "Three" is now in slot 0
    ASSERT_TRUE(editReminder(table, 1, "Three", form("Three edited"), settings, path).stored);
    EXPECT_EQ(titles(table), "Two edited|Three edited");
    EXPECT_FALSE(editReminder(table, 0, "Gone", form("x"), settings, path).ok());
    const ReminderChange freeSlot = deleteReminder(table, 5, path);
    EXPECT_TRUE(freeSlot.ok() && !freeSlot.stored);
}

// The recurrence code is read by its leading whole number, as the due check reads it: the list says
// whether it recurs, the editor shows how often ("3" recurs, but at no interval the editor offers).
TEST(ReminderList, RecurrenceCodesAsHandEditedFilesHoldThem) {
    const struct {
        const char* recur;
        bool recurs;
        int choice;
    } cases[] = {{"-1", false, -1}, {"-1.0", false, -1}, {" -1", false, -1}, {"-2", false, -1},
                 {"0", true, 0},    {"1.0", true, 1},    {" 2", true, 2},    {"2.5", true, 2},
                 {"3", true, -1},   {"-0.5", true, 0},   {"x", true, 0}};
    ReminderTable t;
    for (const auto& c : cases) {
        putReminder(t, 0, "R", "03/07/05", "09:30:00", "1", c.recur);
        const ReminderForm f = editReminderForm(t, 0, test::defaultSettings());
        EXPECT_EQ(
            std::tuple(managerRows(t, test::defaultSettings()).at(0).occurs, f.recurring, f.recurChoice),
            std::tuple(c.recurs ? "Yes" : "No", c.recurs, c.choice))
            << c.recur;
    }
}

// A balloon line finds its reminders from the slot it was announced from, as the table is now, and a
// date its day's; the message shown is the last one's.
TEST(ReminderList, DayListFollowsTheBalloonLinesSlotOrTheDate) {
    ReminderTable t;
    const Settings s = test::defaultSettings();
    putReminder(t, 0, "Dentist", "03/07/05", "09:30:00", "1", "-1", "first");
    putReminder(t, 1, "Stretch", "03/07/05", "10:30:00", "0", "0", "hourly");  // moved on from 9:30
    putReminder(t, 2, "Dentist", "03/08/05", "09:30:00", "1", "abc", "third");
    const auto slotsOf = [&](const AnnouncedLine& line) {
        std::string out;
        for (const ReminderRow& r : dayListRows(t, DayListRequest{line, ""}, s).rows)
            out += std::to_string(r.slot);
        return out;
    };
    EXPECT_EQ(slotsOf({1, "Stretch", "9:30 AM - Stretch"}), "1");
    const DayList dentist =
        dayListRows(t, DayListRequest{AnnouncedLine{0, "Dentist", "9:30 AM - Dentist"}, ""}, s);
    ASSERT_EQ(dentist.rows.size(), 2u);  // both make the same line
    EXPECT_EQ(row(dentist.rows[0]), "0 Dentist|03/07/05|9:30 AM|No|on");
    EXPECT_EQ(row(dentist.rows[1]), "2 Dentist|03/08/05|9:30 AM|Yes|on");
    EXPECT_EQ(dentist.message, "third");
    // The slot holds another reminder by now (one above it was deleted): the line's text decides.
    EXPECT_EQ(slotsOf({1, "Dentist", "9:30 AM - Dentist"}), "02");
    EXPECT_EQ(slotsOf({5, "Gone", "9:30 AM - Gone"}), "");
    const DayList byDate = dayListRows(t, DayListRequest{std::nullopt, "03/07/05"}, s);
    ASSERT_EQ(byDate.rows.size(), 2u);
    EXPECT_EQ(row(byDate.rows[1]), "1 Stretch|03/07/05|10:30 AM|Yes|off");
    EXPECT_EQ(byDate.message, "hourly");
    EXPECT_TRUE(dayListRows(t, "", "", s).rows.empty());
}

}  // namespace
}  // namespace tavrin
