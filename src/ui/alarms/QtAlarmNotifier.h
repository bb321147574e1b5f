#pragma once
// Shows a fired alarm or warning in a balloon above the tray clock, open until the user closes it.
#include <QPointer>
#include <QRect>
#include <array>
#include <functional>
#include <string>

#include "core/alarms/AlarmNotifier.h"
#include "ui/notify/QtBalloonPlacement.h"
#include "ui/notify/frmBalloon.h"

namespace tavrin {

class QtAlarmNotifier final : public AlarmNotifier {
  public:
    explicit QtAlarmNotifier(std::function<ClockPlace()> clockRect) : clockRect_(std::move(clockRect)) {}

    void showAlarm(const std::string& title, const std::string& message) override;

    frmBalloon* lastBalloon() const { return lastBalloon_.data(); }

  private:
    std::function<ClockPlace()> clockRect_;
    QPointer<frmBalloon> lastBalloon_;
};

}  // namespace tavrin
