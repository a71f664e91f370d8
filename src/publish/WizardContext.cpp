#include "publish/WizardContext.h"

#include "app/Application.h"

namespace lumetra::publish {

std::optional<std::int64_t> FolderCache::size(const std::string& folder,
                                              const std::string& name) const {
    const auto it = sizes_.find({folder, name});
    if (it == sizes_.end()) return std::nullopt;
    return it->second;
}

void FolderCache::noteSize(const std::string& folder, const std::string& name, std::int64_t size) {
    sizes_[{folder, name}] = size;
}

void FolderCache::clear() {
    entered_.clear();
    present_.clear();
    sizes_.clear();
}

WizardContext::WizardContext(Application& app, PublishView& view, FtpClient& ftp, HttpClient& http,
                             WizardOptions options)
    : app(app),
      view(view),
      ftp(ftp),
      http(http),
      options(std::move(options)),
      engine_(
          static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count())) {
}

void WizardContext::status(const lang::LangKey& key) {
    view.statusChanged(app.GetLangString(key));
    pump();
}

void WizardContext::status(const lang::LangKey& key, const std::string& name) {
    view.statusChanged(app.GetLangString(key) + " \"" + name + "\" ...");
    pump();
}

std::int64_t WizardContext::random(std::int64_t lo, std::int64_t hi) {
    if (options.random) return options.random(lo, hi);
    if (hi <= lo) return lo;
    return std::uniform_int_distribution<std::int64_t>(lo, hi)(engine_);
}

}  // namespace lumetra::publish
