#include "player/PlayerView.h"

#include <QLibrary>
#include <QResizeEvent>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "app/FileOps.h"
#include "app/Platform.h"
#include "player/PlayerHostPage.h"

namespace lumetra::player {

namespace fs = std::filesystem;

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
    if (content_ || rendererDied_) return;
    const CreateWebContentFunction create = LoadWebPlayerModule();
    if (!create) return;
    WebContentHooks hooks;
    hooks.consoleMessage = [this](const QString& m) { consoleMessage(m); };
    hooks.rendererDied = [this] {
        rendererDied_ = true;
        content_->widget()->hide();
        emit rendererTerminated();
    };
    content_.reset(create(this, config_.transparent, config_.contextMenu, hooks));
    view_ = content_->widget();
    view_->setGeometry(rect());
    view_->show();
    loadCurrent();
}

CreateWebContentFunction LoadWebPlayerModule() {
    static QLibrary module;
    static CreateWebContentFunction create = nullptr;
    if (create || module.isLoaded()) return create;
    module.setFileName(QString::fromStdString(platform::moduleFile(kWebPlayerModule).string()));
    if (!module.load()) {
        std::fprintf(stderr, "lumetra: %s\n", qPrintable(module.errorString()));
        return nullptr;
    }
    create = reinterpret_cast<CreateWebContentFunction>(module.resolve(kCreateWebContentSymbol));
    return create;
}

void PlayerView::setMovie(const std::string& address) {
    movie_ = address;
    loadCurrent();
}

void PlayerView::loadBare() {
    movie_.clear();
    pending_.clear();
    loadCurrent();
}

void PlayerView::setPendingPictures(std::vector<std::string> addresses) {
    pending_ = std::set<std::string>(addresses.begin(), addresses.end());
}

void PlayerView::pictureReady(const std::string& address) {
    if (pending_.erase(address) && gated_ && pageReady_)
        runScript("window.lumetraPictureReady&&lumetraPictureReady(" + JsString(address) + ")");
}

void PlayerView::releasePictures() {
    const bool held = !pending_.empty();
    pending_.clear();
    if (held && gated_ && pageReady_)
        runScript("window.lumetraPicturesPending&&lumetraPicturesPending([])");
}

std::vector<std::string> PlayerView::pendingList() const {
    return {pending_.begin(), pending_.end()};
}

void PlayerView::runScript(const std::string& script) {
    if (content_) content_->runJavaScript(QString::fromStdString(script));
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
    gated_ = pageReady_ = false;
    if (!content_) return;
    if (rendererDied_) {
        rendererDied_ = false;
        view_->show();
    }
    HostPageOptions options{width(), height(), background_, config_.transparent};
    if (movie_.empty()) {
        content_->setHtml(QString::fromStdString(BarePlayerPage(options)));
        return;
    }
    const PlayerAddress address = ParsePlayerAddress(movie_);
    const fs::path folder = address.script.parent_path();
    const std::string description =
        address.xmlSource.empty() ? std::string() : readDescription(folder / address.xmlSource);
    gated_ = !pending_.empty();
    fs::path host = address.script;
    host.replace_extension(".player.html");
    writeText(host, PlayerHostPage(address, description, options, pendingList()));
    content_->loadFile(QString::fromStdString(host.string()));
}

void PlayerView::consoleMessage(const QString& message) {
    if (std::getenv("LUMETRA_PLAYER_LOG"))
        std::fprintf(stderr, "player: %s\n", qPrintable(message));
    if (message.startsWith(QLatin1String("lumetra:slide "))) {
        shownSlide_ = message.mid(14).toInt();
        emit slideShown(shownSlide_);
    } else if (message.startsWith(QLatin1String("lumetra:ready "))) {
        // Whatever was released before the page could hear it is released now.
        pageReady_ = true;
        if (gated_)
            runScript("window.lumetraPicturesPending&&lumetraPicturesPending(" +
                      JsStringArray(pendingList()) + ")");
        emit ready(message.mid(14).toInt());
    }
}

}  // namespace lumetra::player
