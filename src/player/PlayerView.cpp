#include "player/PlayerView.h"

#include <QResizeEvent>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "app/FileOps.h"
#include "player/PlayerHostPage.h"

namespace lumetra::player {

namespace fs = std::filesystem;

// Reads the player's events from the console, where the host page writes them.
class PlayerPage : public QWebEnginePage {
  public:
    PlayerPage(std::function<void(const QString&)> onMessage, QObject* parent)
        : QWebEnginePage(parent), onMessage_(std::move(onMessage)) {}

  protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                  const QString&) override {
        onMessage_(message);
    }

  private:
    std::function<void(const QString&)> onMessage_;
};

namespace {

std::string readDescription(const fs::path& file) {
    try {
        return ReadWholeFile(file);
    } catch (const std::exception&) {
        return {};  // the player then fetches it itself, and reports if it cannot
    }
}

void writeText(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
}

}  // namespace

PlayerView::PlayerView(const Config& config, QWidget* parent) : QWidget(parent), config_(config) {
    setAttribute(Qt::WA_NoSystemBackground, config.transparent);
    if (!config.contextMenu) setContextMenuPolicy(Qt::NoContextMenu);
}

PlayerView::~PlayerView() = default;

void PlayerView::createWebView() {
    if (view_) return;
    view_ = new QWebEngineView(this);
    page_ = new PlayerPage([this](const QString& m) { consoleMessage(m); }, view_);
    view_->setPage(page_);
    view_->setGeometry(rect());
    view_->setFocusPolicy(Qt::NoFocus);
    if (!config_.contextMenu) view_->setContextMenuPolicy(Qt::NoContextMenu);
    if (config_.transparent) page_->setBackgroundColor(Qt::transparent);
    QWebEngineSettings* settings = page_->settings();
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    connect(page_, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status == QWebEnginePage::NormalTerminationStatus) return;
                rendererDied_ = true;
                view_->hide();
                emit rendererTerminated();
            });
    view_->show();
    loadCurrent();
}

void PlayerView::setMovie(const std::string& address) {
    movie_ = address;
    loadCurrent();
}

void PlayerView::loadBare() {
    movie_.clear();
    loadCurrent();
}

void PlayerView::setBackgroundColor(const std::string& rrggbb) {
    background_ = rrggbb;
}

void PlayerView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (view_) view_->setGeometry(rect());
}

void PlayerView::loadCurrent() {
    shownSlide_ = -1;
    if (!view_) return;
    if (rendererDied_) {
        rendererDied_ = false;
        view_->show();
    }
    HostPageOptions options{width(), height(), background_, config_.transparent};
    if (movie_.empty()) {
        view_->setHtml(QString::fromStdString(BarePlayerPage(options)));
        return;
    }
    const PlayerAddress address = ParsePlayerAddress(movie_);
    const fs::path folder = address.script.parent_path();
    const std::string description =
        address.xmlSource.empty() ? std::string() : readDescription(folder / address.xmlSource);
    fs::path host = address.script;
    host.replace_extension(".player.html");
    writeText(host, PlayerHostPage(address, description, options));
    view_->load(QUrl::fromLocalFile(QString::fromStdString(host.string())));
}

void PlayerView::consoleMessage(const QString& message) {
    if (std::getenv("LUMETRA_PLAYER_LOG"))
        std::fprintf(stderr, "player: %s\n", qPrintable(message));
    if (message.startsWith(QLatin1String("lumetra:slide "))) {
        shownSlide_ = message.mid(14).toInt();
        emit slideShown(shownSlide_);
    } else if (message.startsWith(QLatin1String("lumetra:ready "))) {
        emit ready(message.mid(14).toInt());
    }
}

}  // namespace lumetra::player
