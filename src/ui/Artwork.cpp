#include "ui/Artwork.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

namespace lumetra::ui {

namespace {

std::filesystem::path& folder() {
    static std::filesystem::path path;
    return path;
}

QString cacheKey(const QString& name, QSize size, qreal dpr, bool disabled) {
    return QStringLiteral("%1/%2x%3@%4%5")
        .arg(name)
        .arg(size.width())
        .arg(size.height())
        .arg(dpr)
        .arg(disabled ? "d" : "");
}

QImage render(const QString& name, QSize size, qreal dpr) {
    const QString file =
        QString::fromStdString((folder() / (name.toStdString() + ".svg")).string());
    QSvgRenderer renderer(file);
    if (!renderer.isValid() || size.isEmpty()) return {};
    QImage image(size * dpr, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size * dpr)));
    painter.end();
    image.setDevicePixelRatio(dpr);
    return image;
}

QImage greyed(QImage image) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* px = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int g = qGray(px[x]);
            px[x] = qRgba(g, g, g, qAlpha(px[x]) * 45 / 100);
        }
    }
    return image;
}

}  // namespace

void SetArtworkFolder(const std::filesystem::path& path) {
    folder() = path;
}

const std::filesystem::path& ArtworkFolder() {
    return folder();
}

QPixmap Artwork(const QString& name, QSize size, qreal dpr) {
    static QHash<QString, QPixmap> cache;
    const QString key = cacheKey(name, size, dpr, false);
    if (auto it = cache.find(key); it != cache.end()) return *it;
    QPixmap pixmap = QPixmap::fromImage(render(name, size, dpr));
    cache.insert(key, pixmap);
    return pixmap;
}

QPixmap DisabledArtwork(const QString& name, QSize size, qreal dpr) {
    static QHash<QString, QPixmap> cache;
    const QString key = cacheKey(name, size, dpr, true);
    if (auto it = cache.find(key); it != cache.end()) return *it;
    QImage image = render(name, size, dpr);
    QPixmap pixmap;
    if (!image.isNull()) {
        image = greyed(image);
        image.setDevicePixelRatio(dpr);
        pixmap = QPixmap::fromImage(image);
    }
    cache.insert(key, pixmap);
    return pixmap;
}

}  // namespace lumetra::ui
