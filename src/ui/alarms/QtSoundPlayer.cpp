#include "ui/alarms/QtSoundPlayer.h"

#include <QApplication>
#include <QAudioOutput>
#include <QDebug>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>
#include <utility>

namespace tavrin {

namespace {
constexpr const char* kFailedProperty = "tavrinSoundFailed";
}

QtSoundPlayer::QtSoundPlayer(QObject* parent, std::function<void()> bell)
    : QObject(parent), bell_(std::move(bell)) {}

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::beep() {
    if (bell_)
        bell_();
    else
        QApplication::beep();
}

void QtSoundPlayer::stop() {
    for (Voice& voice : voices_) voice.player->stop();
}

QtSoundPlayer::Voice& QtSoundPlayer::idleVoice() {
    for (Voice& voice : voices_) {
        if (voice.player->playbackState() == QMediaPlayer::StoppedState) return voice;
    }
    Voice voice;
    voice.player = new QMediaPlayer(this);
    voice.output = new QAudioOutput(this);
    voice.player->setAudioOutput(voice.output);
    QMediaPlayer* player = voice.player;
    connect(player, &QMediaPlayer::errorOccurred, this,
            [this, player](QMediaPlayer::Error error, const QString& why) {
                // A bad file can raise several errors; it beeps once per sound.
                if (error == QMediaPlayer::NoError || player->property(kFailedProperty).toBool()) return;
                player->setProperty(kFailedProperty, true);
                player->stop();
                qWarning("tavrin: the sound %s could not be played, so it beeps instead: %s",
                         qUtf8Printable(player->source().toLocalFile()), qUtf8Printable(why));
                beep();
            });
    voices_.push_back(voice);
    return voices_.back();
}

void QtSoundPlayer::play(const std::string& path) {
    const QFileInfo file(QString::fromStdString(path));
    if (path.empty() || !file.isFile() || !file.isReadable()) {
        beep();
        return;
    }
    Voice& voice = idleVoice();
    voice.player->setProperty(kFailedProperty, false);
    voice.player->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    voice.player->play();
}

}  // namespace tavrin
