#pragma once
// Sounds through Qt Multimedia, in the background. The media machinery is made on the first sound,
// so a start-up without an alarm never loads it.
#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "core/alarms/SoundPlayer.h"

class QMediaPlayer;
class QAudioOutput;

namespace tavrin {

class QtSoundPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT
  public:
    // `bell` rings the desktop bell; tests count it instead.
    explicit QtSoundPlayer(QObject* parent = nullptr, std::function<void()> bell = {});
    ~QtSoundPlayer() override;

    // Each sound gets a player of its own (an idle one is reused), so a warning and an alarm due
    // together both sound. A file the player cannot play beeps.
    void play(const std::string& path) override;
    void beep() override;
    // Every voice falls silent; the bell cannot be called back.
    void stop() override;

  private:
    struct Voice {
        QMediaPlayer* player = nullptr;
        QAudioOutput* output = nullptr;
    };
    Voice& idleVoice();

    std::function<void()> bell_;
    std::vector<Voice> voices_;
};

}  // namespace tavrin
