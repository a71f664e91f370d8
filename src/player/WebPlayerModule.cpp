// liblumetra_webplayer.so: the Qt WebEngine view of the player views.

#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "player/WebContent.h"

namespace lumetra::player {

namespace {

// Hands the page's console lines (the player's events) to the player view.
class ConsolePage : public QWebEnginePage {
  public:
    ConsolePage(const WebContentHooks& hooks, QObject* parent)
        : QWebEnginePage(parent), hooks_(hooks) {}

  protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                  const QString&) override {
        if (hooks_.consoleMessage) hooks_.consoleMessage(message);
    }

  private:
    WebContentHooks hooks_;
};

class EngineContent : public WebContent {
  public:
    EngineContent(QWidget* parent, bool transparent, bool contextMenu, const WebContentHooks& hooks)
        : view_(new QWebEngineView(parent)), page_(new ConsolePage(hooks, view_)) {
        view_->setPage(page_);
        view_->setFocusPolicy(Qt::NoFocus);
        if (!contextMenu) view_->setContextMenuPolicy(Qt::NoContextMenu);
        if (transparent) page_->setBackgroundColor(Qt::transparent);
        QWebEngineSettings* settings = page_->settings();
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
        settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
        settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
        auto died = hooks.rendererDied;
        QObject::connect(page_, &QWebEnginePage::renderProcessTerminated, view_,
                         [died](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                             if (status != QWebEnginePage::NormalTerminationStatus && died) died();
                         });
    }
    QWidget* widget() override { return view_; }
    void loadFile(const QString& path) override { view_->load(QUrl::fromLocalFile(path)); }
    void setHtml(const QString& html) override { view_->setHtml(html); }
    void runJavaScript(const QString& script) override { page_->runJavaScript(script); }

  private:
    QWebEngineView* view_;
    ConsolePage* page_;
};

}  // namespace

}  // namespace lumetra::player

extern "C" __attribute__((visibility("default"))) lumetra::player::WebContent*
lumetraCreateWebContent(QWidget* parent, bool transparent, bool contextMenu,
                        const lumetra::player::WebContentHooks& hooks) {
    return new lumetra::player::EngineContent(parent, transparent, contextMenu, hooks);
}
