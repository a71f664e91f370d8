#include "ui/PictureWidgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "ui/Artwork.h"

namespace lumetra::ui {

PictureWidget::PictureWidget(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
}

void PictureWidget::setArt(const QString& name) {
    art_ = name;
    image_ = {};
    update();
}

void PictureWidget::setImage(const QImage& image) {
    art_.clear();
    image_ = image;
    update();
}

void PictureWidget::clear() {
    art_.clear();
    image_ = {};
    update();
}

void PictureWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!art_.isEmpty()) {
        painter.drawPixmap(0, 0, Artwork(art_, size(), devicePixelRatioF()));
        return;
    }
    if (image_.isNull()) return;
    // Proportionally scaled down to fit, centred; never enlarged.
    const QSizeF logical = QSizeF(image_.size()) / image_.devicePixelRatio();
    QSizeF shown = logical;
    if (shown.width() > width() || shown.height() > height())
        shown = logical.scaled(QSizeF(size()), Qt::KeepAspectRatio);
    const QRectF target(QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2),
                        shown);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image_);
}

void PictureWidget::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    QWidget::mouseMoveEvent(event);
}

void PictureWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void PictureButton::setArt(const QString& name) {
    if (art_ == name) return;
    art_ = name;
    update();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal dpr = devicePixelRatioF();
    if (hoverFrame_ && isEnabled() && (hovered_ || isDown())) {
        QPainterPath frame;
        frame.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        painter.fillPath(frame, QColor(isDown() ? 0xD6E4F5 : 0xE8F0FA));
        painter.setPen(QColor(0x9DB7DA));
        painter.drawPath(frame);
    }
    const QPixmap pixmap =
        isEnabled() ? Artwork(art_, size(), dpr) : DisabledArtwork(art_, size(), dpr);
    painter.drawPixmap(0, 0, pixmap);
    if (hasFocus()) {
        QPen pen(QColor(0x2F6FD0));
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }
}

void PictureButton::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    QAbstractButton::mouseMoveEvent(event);
}

void PictureButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

}  // namespace lumetra::ui
