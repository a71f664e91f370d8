#include "support/ScriptedServices.h"

#include <gtest/gtest.h>

namespace lumetra::test {

namespace {

template <typename T>
T pop(std::deque<T>& q, T fallback) {
    if (q.empty()) return fallback;
    T v = std::move(q.front());
    q.pop_front();
    return v;
}

bool validAnswer(int flags, int answer) {
    switch (flags & 0x0F) {
        case mb::kYesNoCancel:
            return answer == mb::IDYES || answer == mb::IDNO || answer == mb::IDCANCEL;
        case mb::kYesNo:
            return answer == mb::IDYES || answer == mb::IDNO;
        default:
            return answer == mb::IDOK;
    }
}

int safestAnswer(int flags) {
    switch (flags & 0x0F) {
        case mb::kYesNoCancel:
            return mb::IDCANCEL;
        case mb::kYesNo:
            return mb::IDNO;
        default:
            return mb::IDOK;
    }
}

}  // namespace

void ScriptedServices::fail(const std::string& what) {
    unexpected.push_back(what);
    if (report)
        report(what);
    else
        ADD_FAILURE() << what;
}

int ScriptedServices::messageBox(const std::string& text, const std::string& caption, int flags) {
    messages.push_back({text, caption, flags});
    if (onMessage) onMessage(messages.back());
    const bool question = (flags & 0x0F) != mb::kOk;
    if (!strict) return pop(answers, mb::IDOK);
    if (answers.empty()) {
        if (question) fail("unexpected question: " + text);
        return safestAnswer(flags);
    }
    const int answer = pop(answers, mb::IDOK);
    if (!validAnswer(flags, answer)) {
        fail("answer " + std::to_string(answer) + " does not fit the buttons of: " + text);
        return safestAnswer(flags);
    }
    return answer;
}

std::vector<std::string> ScriptedServices::openFiles(const FileDialogRequest& request,
                                                     bool multiple) {
    dialogs.push_back({DialogKind::OpenFiles, request, multiple});
    if (strict && fileAnswers.empty()) fail("unexpected open-file dialog: " + request.filter);
    return pop(fileAnswers, {});
}

std::optional<std::string> ScriptedServices::saveFile(const FileDialogRequest& request) {
    dialogs.push_back({DialogKind::SaveFile, request, false});
    if (strict && saveAnswers.empty()) fail("unexpected save dialog: " + request.filter);
    return pop(saveAnswers, std::optional<std::string>());
}

std::optional<std::string> ScriptedServices::chooseFolder(const std::string& prompt,
                                                          const std::string& start) {
    dialogs.push_back({DialogKind::ChooseFolder, {prompt, "", start, ""}, false});
    if (strict && folderAnswers.empty()) fail("unexpected folder dialog: " + prompt);
    return pop(folderAnswers, std::optional<std::string>());
}

std::optional<std::uint32_t> ScriptedServices::chooseColor(std::uint32_t initial) {
    dialogs.push_back({DialogKind::ChooseColor, {std::to_string(initial), "", "", ""}, false});
    if (strict && colorAnswers.empty()) fail("unexpected colour dialog");
    return pop(colorAnswers, std::optional<std::uint32_t>());
}

bool ScriptedServices::openUrl(const std::string& urlOrPath) {
    openedUrls.push_back(urlOrPath);
    return true;
}

bool ScriptedServices::playAudio(const std::string& path) {
    played.push_back(path);
    if (onPlay) onPlay(path);
    return pop(playResults, playResult);
}

std::vector<std::string> ScriptedServices::texts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
}

}  // namespace lumetra::test
