#include "core/reminders/ReminderEditor.h"

#include <optional>
#include <string_view>

#include "core/base/Text.h"
#include "core/timezones/FormatPattern.h"

namespace tavrin {
bool isReminderDate(std::string_view text, std::string_view dateFormat, const CalendarNames& names) {
    if (readDateText(text, dateFormat, 0, names)) return true;
    // A format without a year writes texts that read back as no date; the due check still finds
    // them, by their text, on the same day every year (or every week, for the weekday alone). A leap
    // year holds every such text.
    const DateTime first = DateTime::fromFields(2000, 1, 1, 0, 0);
    for (int day = 0; day < 366; ++day)
        if (reminderDateText(first.addDays(day), dateFormat) == text ||
            formatPattern(first.addDays(day), dateFormat, names) == text)
            return true;
    return false;
}

ReminderForm newReminderForm(const DateTime& now, const Settings& settings) {
    ReminderForm form;
    form.hour = std::to_string(now.hour());
    form.minute = std::to_string(now.minute());
    form.amPm = formatPattern(now, "AM/PM");
    form.date = formatPattern(now.date(), settings.DateFormat, settings.calendarNames);
    form.enabled = true;
    form.recurring = false;
    form.recurChoice = -1;
    return form;
}

ReminderForm editReminderForm(const ReminderTable& table, int slot, const Settings& settings) {
    ReminderForm form;
    form.title = table.titles[slot];
    form.date = shownReminderDate(table.dates[slot], settings.DateFormat, settings.calendarNames);
    form.message = table.bodies[slot];
    form.enabled = table.enabled[slot] == "1";
    // A stored time that cannot be read leaves the time boxes empty for the user to fill in.
    if (const auto t = readDateText(table.times[slot], settings.DateFormat)) {
        form.hour = formatPattern(*t, "hh am/pm").substr(0, 2);
        form.minute = std::to_string(t->minute());
        form.amPm = formatPattern(*t, "AM/PM");
    }
    const long code = leadingWhole(table.recurrences[slot]);
    form.recurring = code > -1;
    form.recurChoice = code >= 0 && code <= 2 ? static_cast<int>(code) : -1;
    return form;
}

std::string reminderTimeFromFields(const std::string& hour, const std::string& minute,
                                   const std::string& amPm) {
    const auto h = digitsNumber(trim(hour), 4);
    const auto m = digitsNumber(trim(minute), 4);
    if (!h || !m || *h > 23 || *m > 59) return {};
    const std::string_view ap = trim(amPm);
    int h24 = *h;
    if (equalsNoCase(ap, "PM")) {
        if (h24 >= 1 && h24 <= 11) h24 += 12;
    } else if (equalsNoCase(ap, "AM")) {
        if (h24 == 12) h24 = 0;
    } else if (!ap.empty()) {
        return {};
    }
    return formatPattern(DateTime::fromSerial(0, h24 * 3600 + *m * 60), "HH:MM:SS");
}

Result<std::optional<ReminderRecord>> recordFromForm(const ReminderForm& form, const Settings& settings) {
    const auto refused = [](std::string why) { return Failure{std::move(why)}; };
    if (form.hour.empty() && form.minute.empty() && form.amPm.empty()) return refused(kReminderFormError);
    if (form.title.empty()) return std::optional<ReminderRecord>();
    if (form.title.find('"') != std::string::npos) {
        return refused("The reminder title cannot contain a double quote (\").");
    }
    if (form.date.find('"') != std::string::npos) {
        return refused("The reminder date cannot contain a double quote (\").");
    }
    if (form.message.find('"') != std::string::npos) {
        return refused("The reminder message cannot contain a double quote (\").");
    }
    // The file marks the end of a record with this text: as a whole message it would end the
    // record early and the message would be lost on the next load.
    if (form.message == "</END>") return refused("The reminder message cannot be the text </END>.");

    ReminderRecord record;
    record.time = reminderTimeFromFields(form.hour, form.minute, form.amPm);
    if (record.time.empty()) return refused(kReminderFormError);
    // Stored as typed, such a date would never come due: the reminder would be kept but never shown.
    if (!isReminderDate(form.date, settings.DateFormat, settings.calendarNames)) {
        return refused("Warning! The reminder date \"" + form.date + "\" is not a date in the date format " +
                       settings.DateFormat + ", the reminder was not saved.");
    }
    record.title = form.title;
    record.date = reminderDateOfText(form.date, settings.DateFormat, settings.calendarNames);
    record.enabled = form.enabled ? "1" : "0";
    record.body = form.message;
    if (!form.recurring) {
        record.recur = "-1";
    } else if (form.recurChoice >= 0 && form.recurChoice <= 2) {
        record.recur = std::string(1, static_cast<char>('0' + form.recurChoice));
    } else {
        record.recur = "1";  // ticked with nothing chosen, or a text typed into the box
    }
    return std::optional(std::move(record));
}

}  // namespace tavrin
