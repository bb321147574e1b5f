#pragma once
// Shows the user that the alarm or the warning went off (the desktop shows a balloon).
#include <string>

namespace tavrin {

class AlarmNotifier {
  public:
    virtual ~AlarmNotifier() = default;
    virtual void showAlarm(const std::string& title, const std::string& message) = 0;
};

}  // namespace tavrin
