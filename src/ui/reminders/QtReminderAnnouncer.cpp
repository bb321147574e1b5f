#include "ui/reminders/QtReminderAnnouncer.h"

#include <QMessageBox>
#include <utility>

#include "core/timezones/FormatPattern.h"
#include "ui/notify/QtBalloonPlacement.h"
#include "ui/reminders/frmDayRem.h"

namespace tavrin {

QtReminderAnnouncer::QtReminderAnnouncer(AppState& app, std::function<QRect()> clockRect)
    : app_(app), clockRect_(std::move(clockRect)) {}

bool QtReminderAnnouncer::showBalloon(const std::string& title) {
    const auto& lines = app_.reminders.sBalloonLines;
    const int lineCount = shownLineCount(lines, kBalloonLineSlots - 1);
    const QRect clock = clockRect_ ? clockRect_() : QRect();
    const BalloonRect place = balloonAboveClock(clock, lineCount);

    AppState& app = app_;
    auto* balloon = new frmBalloon(lines, [&app](const std::string& line) {
        auto* list = new frmDayRem(app.reminders, app.settings, line, std::string());
        list->show();
    });
    balloon->SetBalloon(title, lineCount - 1, static_cast<long>(twipsFromPixels(place.left)),
                        static_cast<long>(twipsFromPixels(place.top)), "", true, 0,
                        static_cast<long>(twipsFromPixels(place.height)),
                        static_cast<long>(twipsFromPixels(place.width)), 8);
    balloon->show();
    lastBalloon_ = balloon;
    return balloon->isVisible();
}

bool QtReminderAnnouncer::askReview() {
    QMessageBox box(
        QMessageBox::NoIcon, QStringLiteral("Tavrin for Windows"),
        QStringLiteral("There is one or more re-occuring reminders set. Would you like to review them?"),
        QMessageBox::Yes | QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtReminderAnnouncer::openManager() {
    if (openManager_) {
        openManager_();
        return;
    }
    const std::string today = FormatPattern(app_.clock.localNow().date(), app_.settings.DateFormat);
    auto* list = new frmDayRem(app_.reminders, app_.settings, std::string(), today);
    list->show();
}

}  // namespace tavrin
