#pragma once
// The desktop's sound player, telling the measurement trace each sound it is asked for, so a journey
// test can hear an alarm ring on a machine without speakers.
#include <string>

#include "app/MeasureTrace.h"
#include "core/alarms/SoundPlayer.h"
#include "core/timezones/ClockService.h"
#include "ui/alarms/QtSoundPlayer.h"

namespace tavrin {

class TracedSoundPlayer final : public SoundPlayer {
  public:
    explicit TracedSoundPlayer(const ClockService& clock) : clock_(clock) {}
    void play(const std::string& path) override {
        traceMoment(("sound " + path).c_str(), clock_.unixMillis());
        player_.play(path);
    }
    void beep() override {
        traceMoment("beep", clock_.unixMillis());
        player_.beep();
    }
    void stop() override {
        traceMoment("sound stopped", clock_.unixMillis());
        player_.stop();
    }

  private:
    const ClockService& clock_;
    QtSoundPlayer player_;
};

}  // namespace tavrin
