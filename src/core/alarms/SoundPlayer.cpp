#include "core/alarms/SoundPlayer.h"

#include <sys/stat.h>
#include <unistd.h>

namespace tavrin {

bool soundFileReadable(const std::string& path) {
    struct stat st {};
    // A folder, an empty file or one the user may not read cannot be played.
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
           ::access(path.c_str(), R_OK) == 0;
}

void playSoundOrBeep(SoundPlayer& player, const std::string& path) {
    if (soundFileReadable(path))
        player.play(path);
    else
        player.beep();
}

}  // namespace tavrin
