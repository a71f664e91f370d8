#include "ui/PreviewDecoder.h"

#include <QMetaObject>

#include "generator/picture/Picture.h"

namespace lumetra::ui {

PreviewDecoder::PreviewDecoder(QObject* parent) : QObject(parent) {
    worker_ = std::thread([this] { run(); });
}

PreviewDecoder::~PreviewDecoder() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        pending_.reset();
    }
    wake_.notify_all();
    worker_.join();
}

unsigned PreviewDecoder::request(const PreviewRequest& request) {
    unsigned number;
    {
        std::lock_guard lock(mutex_);
        number = ++newest_;
        pending_ = request;
        pendingNumber_ = number;
    }
    wake_.notify_one();
    return number;
}

void PreviewDecoder::cancel() {
    std::lock_guard lock(mutex_);
    ++newest_;
    pending_.reset();
}

bool PreviewDecoder::busy() const {
    std::lock_guard lock(mutex_);
    return pending_.has_value() || working_;
}

std::optional<QImage> PreviewDecoder::Decode(const PreviewRequest& r) {
    Bitmap bitmap;
    const int areaW = int(r.areaWidth * r.devicePixelRatio);
    const int areaH = int(r.areaHeight * r.devicePixelRatio);
    // Quiet here: the window shows the message on its own thread.
    if (!LoadPicture(nullptr, bitmap, r.path, true, areaW, areaH) || bitmap.empty())
        return std::nullopt;
    QImage image(bitmap.pixels.data(), bitmap.width, bitmap.height, int(bitmap.stride()),
                 QImage::Format_RGB888);
    QImage shown;
    if (bitmap.width > areaW || bitmap.height > areaH)
        shown = image.scaled(areaW, areaH, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    else
        shown = image.copy();
    shown.setDevicePixelRatio(r.devicePixelRatio);
    return shown;
}

void PreviewDecoder::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || pending_.has_value(); });
        if (stop_) return;
        const PreviewRequest request = *pending_;
        const unsigned number = pendingNumber_;
        pending_.reset();
        working_ = true;
        lock.unlock();
        std::optional<QImage> image = Decode(request);
        lock.lock();
        working_ = false;
        if (number != newest_) continue;  // overtaken meanwhile
        const QString path = QString::fromStdString(request.path);
        const bool ok = image.has_value();
        QImage result = ok ? *image : QImage();
        QMetaObject::invokeMethod(
            this, [this, number, path, result, ok] { emit decoded(number, path, result, ok); },
            Qt::QueuedConnection);
    }
}

}  // namespace lumetra::ui
