#pragma once
// Plays the alarm and warning sounds. The desktop implementation is asynchronous: play() returns at
// once and the sound runs in the background.
#include <string>

namespace tavrin {

class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    // Starts playing the sound file at `path`. A file that turns out to be unplayable beeps instead.
    virtual void play(const std::string& path) = 0;
    // The desktop bell.
    virtual void beep() = 0;
    // Silences whatever is still playing (a snoozed alarm).
    virtual void stop() = 0;
};

// Whether `path` names a file with something in it that can be read: a folder, an empty file or a
// missing one cannot be played.
bool soundFileReadable(const std::string& path);

// Plays `path`, or beeps when there is nothing to play: an empty path, or a path that does not name
// a readable file. A ringing alarm must make some noise; a silent failure would let it pass unnoticed.
void playSoundOrBeep(SoundPlayer& player, const std::string& path);

}  // namespace tavrin
