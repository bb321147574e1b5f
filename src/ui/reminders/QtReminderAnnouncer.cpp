#include "ui/reminders/QtReminderAnnouncer.h"

#include <utility>
#include <vector>

#include "core/reminders/ReminderList.h"
#include "core/reminders/ReminderRecord.h"
#include "core/timezones/FormatPattern.h"
#include "ui/notify/QtBalloonPlacement.h"
#include "ui/reminders/frmDayRem.h"

namespace tavrin {

QtReminderAnnouncer::QtReminderAnnouncer(AppState& app, std::function<ClockPlace()> clockRect,
                                         DesktopNotifications* desktop)
    : app_(app), clockRect_(std::move(clockRect)), desktop_(desktop) {}

bool QtReminderAnnouncer::showBalloon(const std::string& title) {
    const ReminderTable& table = app_.reminders;
    // The next announcement rewrites the table's lines, so each line keeps what it was announced from.
    std::vector<AnnouncedLine> announced;
    for (std::size_t i = 0; i < table.balloonLines.size() && !table.balloonLines[i].empty(); ++i) {
        const int slot = table.balloonSlots[i];
        const bool valid = slot >= 0 && slot < kReminderSlots;
        announced.push_back({slot, valid ? table.titles[slot] : std::string(), table.balloonLines[i]});
    }
    const bool single = announced.size() == 1;
    AppState& app = app_;
    auto openDayList = [&app, announced = std::move(announced)](int line) {
        if (line < 0 || line >= static_cast<int>(announced.size())) return;
        const DayListRequest request{announced[static_cast<std::size_t>(line)], std::string()};
        auto* list = new frmDayRem(app.reminders, app.settings, request);
        list->show();
    };
    // The notification's one action: the list of its line, or of today when it has several.
    const std::string today = reminderDateText(app_.clock.localNow(), app_.settings.DateFormat);
    auto openFromDesktop = [&app, openDayList, today, single](const std::string& key) {
        if (key != kOpenDayListAction) return;
        if (single) {
            openDayList(0);
            return;
        }
        (new frmDayRem(app.reminders, app.settings, DayListRequest{std::nullopt, today}))->show();
    };
    // The balloon may come after the server refused, when the table's lines are another's: it keeps its own.
    auto showBalloon = [this, title, lines = table.balloonLines, openDayList] {
        lastBalloon_ =
            showBalloonAboveClock(clockRect_ ? clockRect_() : ClockPlace{}, title, lines, "", openDayList);
        return lastBalloon_->isVisible();
    };
    return announce(notificationChoice(app_.settings.Notifications), desktop_,
                    reminderNotice(title, table.balloonLines), openFromDesktop, showBalloon);
}

bool QtReminderAnnouncer::askReview() {
    return app_.asker.askYesNo(
        "Tavrin for Windows",
        "There is one or more re-occuring reminders set. Would you like to review them?", MessageIcon::None);
}

void QtReminderAnnouncer::openManager() {
    if (openManager_) {
        openManager_();
        return;
    }
    const std::string today = reminderDateText(app_.clock.localNow(), app_.settings.DateFormat);
    auto* list = new frmDayRem(app_.reminders, app_.settings, DayListRequest{std::nullopt, today});
    list->show();
}

}  // namespace tavrin
