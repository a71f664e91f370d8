// The yardstick of the start-up benchmark: an empty QWidget window built with
// the same Qt, reporting its first paint the way lumetra does.

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace {

class EmptyWindow : public QWidget {
  protected:
    bool event(QEvent* e) override {
        const bool handled = QWidget::event(e);
        if (e->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::fprintf(stderr, "first-paint %lld.%09ld\n", static_cast<long long>(now.tv_sec),
                         now.tv_nsec);
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return handled;
    }

  private:
    bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    EmptyWindow window;
    window.resize(780, 550);
    window.show();
    return QApplication::exec();
}
