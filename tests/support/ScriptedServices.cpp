#include "support/ScriptedServices.h"

namespace lumetra::test {

namespace {
template <typename T>
T pop(std::deque<T>& q, T fallback) {
    if (q.empty()) return fallback;
    T v = std::move(q.front());
    q.pop_front();
    return v;
}
}  // namespace

int ScriptedServices::messageBox(const std::string& text, const std::string& caption, int flags) {
    messages.push_back({text, caption, flags});
    return pop(answers, mb::IDOK);
}

std::vector<std::string> ScriptedServices::openFiles(const FileDialogRequest&, bool) {
    return pop(fileAnswers, {});
}

std::optional<std::string> ScriptedServices::saveFile(const FileDialogRequest&) {
    return pop(saveAnswers, std::optional<std::string>());
}

std::optional<std::string> ScriptedServices::chooseFolder(const std::string&, const std::string&) {
    return pop(folderAnswers, std::optional<std::string>());
}

std::optional<std::uint32_t> ScriptedServices::chooseColor(std::uint32_t) {
    return pop(colorAnswers, std::optional<std::uint32_t>());
}

bool ScriptedServices::openUrl(const std::string& urlOrPath) {
    openedUrls.push_back(urlOrPath);
    return true;
}

bool ScriptedServices::playAudio(const std::string& path) {
    played.push_back(path);
    return playResult;
}

std::vector<std::string> ScriptedServices::texts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
}

}  // namespace lumetra::test
