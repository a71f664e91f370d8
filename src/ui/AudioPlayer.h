#pragma once
// The music preview's player: Qt Multimedia on its GStreamer backend.
// GStreamer opens and decodes on threads of its own and reports back later,
// so play() waits for the outcome, with events processed (but no user input)
// and a time limit: its caller learns whether the file plays, and the window
// keeps painting meanwhile.
//
// Each file gets a media player of its own. A player that failed stays in
// its playing state, and stopping it or giving it the next file makes Qt
// wait a second for GStreamer and brings a late error that would be taken
// for the next file's; a player that is discarded does neither.

#include <QMediaPlayer>
#include <QObject>
#include <chrono>
#include <functional>

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

    // The player of the file that plays or ended last; null after a failure or stop.
    QMediaPlayer* mediaPlayer() const { return player_; }

  private:
    enum class Attempt { None, Waiting, Opened, Failed };
    void statusChanged(QMediaPlayer::MediaStatus status);
    void failed();
    void decide(Attempt outcome);
    // Closes the file at once: the player goes, with no further signal.
    void discard(bool insideItsSignal = false);
    void finish();

    QMediaPlayer* player_ = nullptr;
    Attempt attempt_ = Attempt::None;
    bool playing_ = false;
    QEventLoop* wait_ = nullptr;
};

}  // namespace lumetra::ui
