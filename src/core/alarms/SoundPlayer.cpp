#include "core/alarms/SoundPlayer.h"

#include <fstream>

namespace tavrin {

void PlaySoundOrBeep(SoundPlayer& player, const std::string& path) {
    if (path.empty()) {
        player.beep();
        return;
    }
    // A folder opens without complaint on Linux and fails only at the first read, as does an empty file.
    std::ifstream probe(path, std::ios::binary);
    char first = 0;
    if (!probe || !probe.read(&first, 1)) {
        player.beep();
        return;
    }
    player.play(path);
}

}  // namespace tavrin
