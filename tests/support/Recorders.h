#pragma once
// Sound player and notifier that remember what they were asked to do, in order.
#include <string>
#include <utility>
#include <vector>

#include "core/alarms/AlarmNotifier.h"
#include "core/alarms/SoundPlayer.h"

namespace tavrin::test {

struct RecordingSound final : SoundPlayer {
    std::vector<std::string> events;  // "beep", "stop" or the played path
    void play(const std::string& path) override { events.push_back(path); }
    void beep() override { events.emplace_back("beep"); }
    void stop() override { events.emplace_back("stop"); }
};

struct RecordingNotifier final : AlarmNotifier {
    std::vector<std::pair<std::string, std::string>> shown;
    void showAlarm(AlarmKind, const std::string& title, const std::string& message) override {
        shown.emplace_back(title, message);
    }
};

}  // namespace tavrin::test
