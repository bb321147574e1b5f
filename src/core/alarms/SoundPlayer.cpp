#include "core/alarms/SoundPlayer.h"

#include <fstream>

namespace tavrin {

bool soundFileReadable(const std::string& path) {
    if (path.empty()) return false;
    // A folder opens without complaint on Linux and fails only at the first read, as does an empty file.
    std::ifstream probe(path, std::ios::binary);
    char first = 0;
    return probe && probe.read(&first, 1);
}

void playSoundOrBeep(SoundPlayer& player, const std::string& path) {
    if (soundFileReadable(path))
        player.play(path);
    else
        player.beep();
}

}  // namespace tavrin
