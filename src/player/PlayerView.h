#pragma once
// The player control of the window: a web view playing a show with our HTML5
// player. The web view itself is created on request (after the window's
// first paint, so WebEngine's start never delays the window); until then
// the control remembers what it was told and shows nothing.

#include <QWidget>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "player/WebContent.h"

namespace lumetra::player {

// The web player module's entry point, loaded once; null when it is missing.
CreateWebContentFunction LoadWebPlayerModule();

class PlayerView : public QWidget {
    Q_OBJECT

  public:
    struct Config {
        bool loop = false;
        bool transparent = false;  // window mode "Transparent": the page has no background
        bool contextMenu = false;
    };
    PlayerView(const Config& config, QWidget* parent = nullptr);
    ~PlayerView() override;

    // Creates the web view and loads what was set meanwhile. Once only.
    void createWebView();
    bool hasWebView() const { return content_ != nullptr; }

    // Loads a show: "<folder>/name.js?xml_source=name.xml&…". The host page is
    // written beside the player copy as "<name>.player.html".
    void setMovie(const std::string& address);
    const std::string& movie() const { return movie_; }
    // The player without a show: nothing plays.
    void loadBare();
    void stop() { loadBare(); }
    void setLoop(bool loop) { config_.loop = loop; }
    bool loop() const { return config_.loop; }
    // Six hexadecimal digits RRGGBB, or empty for none.
    void setBackgroundColor(const std::string& rrggbb);
    const std::string& backgroundColor() const { return background_; }

    // A show that plays while its pictures are still being prepared: the
    // pictures (their addresses in the description) that the next setMovie
    // holds back, each until pictureReady, all of them on releasePictures.
    void setPendingPictures(std::vector<std::string> addresses);
    void pictureReady(const std::string& address);
    void releasePictures();
    std::size_t pendingPictures() const { return pending_.size(); }

    // The index of the last slide the player showed, -1 since the last load.
    int shownSlide() const { return shownSlide_; }
    // The renderer process ended: the view shows nothing until a new load.
    bool rendererDied() const { return rendererDied_; }

  signals:
    void ready(int slides);
    void slideShown(int index);
    void rendererTerminated();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void loadCurrent();
    void consoleMessage(const QString& message);
    void runScript(const std::string& script);
    std::vector<std::string> pendingList() const;

    Config config_;
    std::string movie_;
    std::string background_;
    std::unique_ptr<WebContent> content_;
    QWidget* view_ = nullptr;
    int shownSlide_ = -1;
    bool rendererDied_ = false;
    std::set<std::string> pending_;
    bool gated_ = false;      // the page shown now holds pictures back
    bool pageReady_ = false;  // and its player has started (scripts reach it)
};

}  // namespace lumetra::player
