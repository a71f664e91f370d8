#pragma once
// A label that is clicked like a button: the tab captions and the link text
// of the create page.

#include <QLabel>

namespace lumetra::ui {

class ClickableLabel : public QLabel {
    Q_OBJECT

  public:
    explicit ClickableLabel(QWidget* parent = nullptr) : QLabel(parent) {
        setMouseTracking(true);
        setCursor(Qt::PointingHandCursor);
    }

  signals:
    void clicked();
    void mouseMoved();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

// A colour swatch in a grey frame; clicked like a button (also with Space).
class ColorSwatch : public QWidget {
    Q_OBJECT

  public:
    explicit ColorSwatch(QWidget* parent = nullptr);
    void setColor(std::uint32_t bgr);
    std::uint32_t color() const { return color_; }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    std::uint32_t color_ = 0xFFFFFF;
};

}  // namespace lumetra::ui
