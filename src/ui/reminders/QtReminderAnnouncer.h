#pragma once
// Shows the reminder check's announcements: a balloon above the tray clock whose lines open the day
// list, the desktop's notification (whose click opens it too) where the "Notifications" setting asks
// for it, and the question whether to review recurring reminders.
#include <QPointer>
#include <QRect>
#include <functional>
#include <string>

#include "core/reminders/ReminderAnnouncer.h"
#include "core/state/AppState.h"
#include "ui/notify/DesktopNotifications.h"
#include "ui/notify/QtBalloonPlacement.h"
#include "ui/notify/frmBalloon.h"

namespace tavrin {

class QtReminderAnnouncer final : public ReminderAnnouncer {
  public:
    // `clockRect` gives the tray clock's rectangle on the screen and the room beside its panel.
    // `desktop` is the notification server's adapter, null for the balloon alone.
    QtReminderAnnouncer(AppState& app, std::function<ClockPlace()> clockRect,
                        DesktopNotifications* desktop = nullptr);

    // The reminder manager, once there is one. Until it is set, the answer Yes opens the day list of
    // today's reminders, which shows the recurring ones just announced.
    void setManagerHook(std::function<void()> openManager) { openManager_ = std::move(openManager); }

    // Every announced line shows: the balloon grows past its five-line height when it must. True when
    // the balloon shows or the desktop's server was asked (which brings the balloon after all when it
    // does not take it).
    bool showBalloon(const std::string& title) override;
    bool askReview() override;
    void openManager() override;

    // The balloon shown last, while it is open.
    frmBalloon* lastBalloon() const { return lastBalloon_.data(); }

  private:
    AppState& app_;
    std::function<ClockPlace()> clockRect_;
    DesktopNotifications* desktop_;
    std::function<void()> openManager_;
    QPointer<frmBalloon> lastBalloon_;
};

}  // namespace tavrin
