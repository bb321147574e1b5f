#pragma once
// Shows a fired alarm or warning in a balloon above the tray clock, open until the user closes it,
// and through the desktop's notifications where the "Notifications" setting asks for them; both
// offer "Snooze".
#include <QPointer>
#include <QRect>
#include <array>
#include <functional>
#include <string>

#include "core/alarms/AlarmNotifier.h"
#include "core/settings/Settings.h"
#include "ui/notify/DesktopNotifications.h"
#include "ui/notify/QtBalloonPlacement.h"
#include "ui/notify/frmBalloon.h"

namespace tavrin {

class QtAlarmNotifier final : public AlarmNotifier {
  public:
    using SnoozeHook = std::function<void(AlarmKind)>;

    // `desktop` is the notification server's adapter, null for the balloon alone.
    QtAlarmNotifier(std::function<ClockPlace()> clockRect, const Settings& settings,
                    DesktopNotifications* desktop = nullptr)
        : clockRect_(std::move(clockRect)), settings_(settings), desktop_(desktop) {}

    // What "Snooze" does (the alarm firing puts the item off).
    void setSnoozeHook(SnoozeHook snooze) { snooze_ = std::move(snooze); }

    void showAlarm(AlarmKind kind, const std::string& title, const std::string& message) override;

    frmBalloon* lastBalloon() const { return lastBalloon_.data(); }

  private:
    std::function<ClockPlace()> clockRect_;
    const Settings& settings_;
    DesktopNotifications* desktop_;
    SnoozeHook snooze_;
    QPointer<frmBalloon> lastBalloon_;
};

}  // namespace tavrin
