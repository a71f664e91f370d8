#pragma once
// The two picture controls of the windows: a still picture (artwork, a
// photograph) and a picture button that is clicked like any button, reached
// with Tab and named for screen readers by its hint.

#include <QAbstractButton>
#include <QImage>
#include <QWidget>

namespace lumetra::ui {

// Shows artwork by name, or an image, centred (scaled down to fit when larger).
class PictureWidget : public QWidget {
    Q_OBJECT

  public:
    explicit PictureWidget(QWidget* parent = nullptr);

    void setArt(const QString& name);
    const QString& art() const { return art_; }
    void setImage(const QImage& image);
    void clear();
    bool hasPicture() const { return !art_.isEmpty() || !image_.isNull(); }
    const QImage& image() const { return image_; }

  signals:
    void clicked();
    void mouseMoved();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QString art_;
    QImage image_;
};

// A flat picture button: its artwork, a hover picture when one is named
// (otherwise a soft frame while the pointer is over it), and a greyed
// picture while disabled.
class PictureButton : public QAbstractButton {
    Q_OBJECT

  public:
    explicit PictureButton(QWidget* parent = nullptr);

    void setArt(const QString& name);
    const QString& art() const { return art_; }
    // Draws a frame on hover (list buttons); picture sets switch art instead.
    void setHoverFrame(bool frame) { hoverFrame_ = frame; }

  signals:
    void mouseMoved();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    QString art_;
    bool hoverFrame_ = false;
    bool hovered_ = false;
};

}  // namespace lumetra::ui
