#include "ui/AudioPlayer.h"

#include <QAudioOutput>
#include <QEventLoop>
#include <QTimer>
#include <QUrl>
#include <filesystem>

namespace lumetra::ui {

namespace {

QMediaPlayer* makePlayer(QObject* parent) {
    // Debian ships an FFmpeg backend beside GStreamer; the program is made
    // and tested with GStreamer.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");
    return new QMediaPlayer(parent);
}

}  // namespace

AudioPlayer::AudioPlayer(QObject* parent)
    : QObject(parent), player_(makePlayer(this)), output_(new QAudioOutput(this)) {
    player_->setAudioOutput(output_);
    connect(player_, &QMediaPlayer::mediaStatusChanged, this, &AudioPlayer::statusChanged);
    connect(player_, &QMediaPlayer::errorOccurred, this, &AudioPlayer::failed);
}

AudioPlayer::~AudioPlayer() {
    ended = nullptr;
    player_->setSource(QUrl());
}

bool AudioPlayer::play(const QString& path, std::chrono::milliseconds limit) {
    if (wait_) return false;  // an attempt is still waiting for its outcome
    stop();
    // A pipe or device would block the player in opening it, with the window.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path.toStdString(), ec)) return false;
    ++generation_;
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
    if (attempt_ != Attempt::Opened) {
        attempt_ = Attempt::None;
        release();
        return false;
    }
    attempt_ = Attempt::None;
    playing_ = true;
    // A very short file may have ended while the outcome was awaited.
    if (player_->mediaStatus() == QMediaPlayer::EndOfMedia) {
        const unsigned generation = generation_;
        QMetaObject::invokeMethod(
            this,
            [this, generation] {
                if (generation == generation_) finish();
            },
            Qt::QueuedConnection);
    }
    return true;
}

void AudioPlayer::stop() {
    if (player_->source().isEmpty()) return;
    release();
    finish();
}

void AudioPlayer::statusChanged(QMediaPlayer::MediaStatus status) {
    switch (status) {
        case QMediaPlayer::BufferedMedia:
        case QMediaPlayer::EndOfMedia:
            if (attempt_ == Attempt::Waiting) decide(Attempt::Opened);
            if (status == QMediaPlayer::EndOfMedia && playing_) finish();
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
    if (!playing_) return;
    // The player is inside its own signal here; the source goes right after.
    const unsigned generation = generation_;
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
            if (generation != generation_ || !playing_) return;
            release();
            finish();
        },
        Qt::QueuedConnection);
}

void AudioPlayer::decide(Attempt outcome) {
    attempt_ = outcome;
    if (wait_) wait_->quit();
}

void AudioPlayer::release() {
    player_->setSource(QUrl());
}

void AudioPlayer::finish() {
    if (!playing_) return;
    playing_ = false;
    if (ended) ended();
}

}  // namespace lumetra::ui
