#pragma once
// Selects the whole text of a line or text field when it gets the focus or
// is clicked (the final page's link and code), and tells the window which of
// the two happened, so it can run its handler.

#include <QObject>
#include <functional>

class QWidget;

namespace lumetra::ui {

class SelectAllOnFocus : public QObject {
    Q_OBJECT

  public:
    // field: a QLineEdit or a QPlainTextEdit.
    SelectAllOnFocus(QWidget* field, std::function<void()> onEnter, std::function<void()> onClick);

    static void selectAll(QWidget* field);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* field_;
    std::function<void()> onEnter_;
    std::function<void()> onClick_;
};

}  // namespace lumetra::ui
