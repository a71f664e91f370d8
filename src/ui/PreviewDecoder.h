#pragma once
// Decodes the preview picture of the selected slide on a worker thread. Only
// the newest request counts: a request that a newer one overtakes before its
// decode starts is dropped, and a result that arrives after a newer request
// is ignored, so moving through the list never builds up a backlog.

#include <QImage>
#include <QObject>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace lumetra::ui {

struct PreviewRequest {
    std::string path;
    int areaWidth = 0, areaHeight = 0;
    double devicePixelRatio = 1;
};

class PreviewDecoder : public QObject {
    Q_OBJECT

  public:
    explicit PreviewDecoder(QObject* parent = nullptr);
    ~PreviewDecoder() override;

    // Replaces any request still waiting; returns the request's number.
    unsigned request(const PreviewRequest& request);
    // Forgets every request: no result of an earlier one is delivered.
    void cancel();
    // True while a request waits or is being decoded.
    bool busy() const;

    // The picture (scaled to fit the area), read fully in the caller's thread:
    // used for the decode itself and by tests.
    static std::optional<QImage> Decode(const PreviewRequest& request);

  signals:
    // On the owner's thread, for the newest request only; ok false when the
    // file could not be read as a picture.
    void decoded(unsigned number, const QString& path, const QImage& image, bool ok);

  private:
    void run();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<PreviewRequest> pending_;
    unsigned newest_ = 0;
    unsigned pendingNumber_ = 0;
    bool working_ = false;
    bool stop_ = false;
    std::thread worker_;
};

}  // namespace lumetra::ui
