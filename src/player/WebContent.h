#pragma once
// The web view behind a player view, in a module of its own
// (liblumetra_webplayer.so beside the program, or in lib/<triplet>/lumetra
// when installed). The program does not link Qt WebEngine: the module is
// loaded when the first web view is made, after the window's first paint, so
// neither WebEngine's libraries nor its start-up ever delay the window.

#include <QString>
#include <functional>

class QWidget;

namespace lumetra::player {

struct WebContentHooks {
    std::function<void(const QString&)> consoleMessage;  // the page's console lines
    std::function<void()> rendererDied;                  // the renderer ended abnormally
};

class WebContent {
  public:
    virtual ~WebContent() = default;
    // The view's widget (owned by the parent given at creation).
    virtual QWidget* widget() = 0;
    virtual void loadFile(const QString& path) = 0;
    virtual void setHtml(const QString& html) = 0;
    // Runs a script in the page shown now.
    virtual void runJavaScript(const QString& script) = 0;
};

// The module's one entry point.
using CreateWebContentFunction = WebContent* (*)(QWidget* parent, bool transparent,
                                                 bool contextMenu, const WebContentHooks& hooks);
inline constexpr const char* kCreateWebContentSymbol = "lumetraCreateWebContent";
inline constexpr const char* kWebPlayerModule = "liblumetra_webplayer.so";

}  // namespace lumetra::player
