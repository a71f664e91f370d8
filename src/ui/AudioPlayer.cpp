#include "ui/AudioPlayer.h"

#include <QAudioOutput>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <utility>

namespace lumetra::ui {

AudioPlayer::AudioPlayer(QObject* parent) : QObject(parent) {
    // Debian ships an FFmpeg backend beside GStreamer; the program is made
    // and tested with GStreamer.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");
}

AudioPlayer::~AudioPlayer() {
    ended = nullptr;
    if (player_) discard();
}

bool AudioPlayer::play(const QString& path, std::chrono::milliseconds limit) {
    if (wait_) return false;  // an attempt is still waiting for its outcome
    stop();
    // A pipe or device would block the player in opening it, with the window.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path.toStdString(), ec)) return false;
    player_ = new QMediaPlayer(this);
    player_->setAudioOutput(new QAudioOutput(player_));
    connect(player_, &QMediaPlayer::mediaStatusChanged, this, &AudioPlayer::statusChanged);
    connect(player_, &QMediaPlayer::errorOccurred, this, &AudioPlayer::failed);
    attempt_ = Attempt::Waiting;
    player_->setSource(QUrl::fromLocalFile(path));
    player_->play();
    if (attempt_ == Attempt::Waiting) {
        QEventLoop loop;
        QTimer limitTimer;
        limitTimer.setSingleShot(true);
        connect(&limitTimer, &QTimer::timeout, &loop, &QEventLoop::quit);
        limitTimer.start(limit);
        wait_ = &loop;
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        wait_ = nullptr;
    }
    const bool opened = attempt_ == Attempt::Opened;
    attempt_ = Attempt::None;
    if (!opened) {
        discard();
        return false;
    }
    playing_ = true;
    // A very short file may have ended while the outcome was awaited.
    if (player_->mediaStatus() == QMediaPlayer::EndOfMedia)
        QMetaObject::invokeMethod(
            this,
            [this, player = QPointer<QMediaPlayer>(player_)] {
                if (player && player == player_) finish();
            },
            Qt::QueuedConnection);
    return true;
}

void AudioPlayer::stop() {
    if (!player_) return;
    discard();
    finish();
}

void AudioPlayer::statusChanged(QMediaPlayer::MediaStatus status) {
    switch (status) {
        case QMediaPlayer::BufferedMedia:
            if (attempt_ == Attempt::Waiting) decide(Attempt::Opened);
            break;
        case QMediaPlayer::EndOfMedia:
            if (attempt_ == Attempt::Waiting)
                decide(Attempt::Opened);
            else
                finish();
            break;
        case QMediaPlayer::InvalidMedia:
            failed();
            break;
        default:
            break;
    }
}

void AudioPlayer::failed() {
    if (attempt_ == Attempt::Waiting) {
        decide(Attempt::Failed);
        return;
    }
    if (!player_) return;
    discard(true);
    finish();
}

void AudioPlayer::decide(Attempt outcome) {
    attempt_ = outcome;
    if (wait_) wait_->quit();
}

void AudioPlayer::discard(bool insideItsSignal) {
    QMediaPlayer* player = std::exchange(player_, nullptr);
    player->disconnect(this);
    if (insideItsSignal)
        player->deleteLater();
    else
        delete player;
}

void AudioPlayer::finish() {
    if (!playing_) return;
    playing_ = false;
    if (ended) ended();
}

}  // namespace lumetra::ui
