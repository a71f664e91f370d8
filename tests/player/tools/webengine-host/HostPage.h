#pragma once
// The page of the WebEngine host. A script in it talks to the host through
// console lines that begin with "lmt-":
//   lmt-measure <step>  the host prints "lmt-measure <step> <RSS kB> <PSS kB>"
//                       of the renderer process and calls lmtMeasure.ack(step)
//   lmt-grab <file>     the host saves the view's picture as a PNG file and
//                       sets window.lmtGrabbed to the file name
//   lmt-done            the host ends with exit code 0
// Other lmt- lines are printed as they are; console errors as
// "lmt-console-error <text>".

#include <QWebEnginePage>

class QWidget;

class HostPage : public QWebEnginePage {
    Q_OBJECT

  public:
    HostPage(QWidget* view, QObject* parent = nullptr);

  signals:
    void finished();

  protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override;

  private:
    void measure(const QString& step);
    void grab(const QString& file);

    QWidget* view_;
};
