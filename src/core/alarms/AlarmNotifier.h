#pragma once
// Shows the user that the alarm or the warning went off, offering to snooze it (the desktop shows a
// balloon, its notifications, or both).
#include <string>

#include "core/alarms/AlarmState.h"

namespace tavrin {

class AlarmNotifier {
  public:
    virtual ~AlarmNotifier() = default;
    virtual void showAlarm(AlarmKind kind, const std::string& title, const std::string& message) = 0;
};

}  // namespace tavrin
