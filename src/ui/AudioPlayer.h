#pragma once
// The music preview's player: Qt Multimedia on its GStreamer backend.
// GStreamer opens and decodes on threads of its own and reports back later,
// so play() waits for the outcome, with events processed (but no user input)
// and a time limit: its caller learns whether the file plays, and the window
// keeps painting meanwhile.
//
// After an error the player would stay in its playing state, and stopping a
// failed pipeline waits a second for GStreamer and leaves a late error for
// the next file; so a failure clears the source instead, which stops at once.

#include <QMediaPlayer>
#include <QObject>
#include <chrono>
#include <functional>

class QAudioOutput;
class QEventLoop;

namespace lumetra::ui {

class AudioPlayer : public QObject {
    Q_OBJECT

  public:
    // How long opening a file may take before it counts as failed.
    static constexpr std::chrono::milliseconds kOpenLimit{5000};

    explicit AudioPlayer(QObject* parent = nullptr);
    ~AudioPlayer() override;

    // Replaces what plays with path. True once it is open and playing; false
    // when it cannot be opened or played within limit (nothing plays then).
    bool play(const QString& path, std::chrono::milliseconds limit = kOpenLimit);
    void stop();
    bool playing() const { return playing_; }
    // Told whenever playback that play() started ends (stop, end, error).
    std::function<void()> ended;

    QMediaPlayer& mediaPlayer() { return *player_; }

  private:
    enum class Attempt { None, Waiting, Opened, Failed };
    void statusChanged(QMediaPlayer::MediaStatus status);
    void failed();
    void decide(Attempt outcome);
    void release();
    void finish();

    QMediaPlayer* player_;
    QAudioOutput* output_;
    Attempt attempt_ = Attempt::None;
    bool playing_ = false;
    unsigned generation_ = 0;  // tells a late queued release from the current file
    QEventLoop* wait_ = nullptr;
};

}  // namespace lumetra::ui
