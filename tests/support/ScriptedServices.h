#pragma once
// Services for tests: every message is recorded, questions take queued
// answers (IDOK when nothing is queued), dialogs return queued results.

#include <deque>
#include <string>
#include <vector>

#include "app/Services.h"

namespace lumetra::test {

struct RecordedMessage {
    std::string text;
    std::string caption;
    int flags;
};

class ScriptedServices : public Services {
  public:
    std::vector<RecordedMessage> messages;
    std::deque<int> answers;
    std::deque<std::vector<std::string>> fileAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<std::optional<std::string>> folderAnswers;
    std::deque<std::optional<std::uint32_t>> colorAnswers;
    std::vector<std::string> openedUrls;
    std::string clipboard;
    int beeps = 0;
    std::vector<std::string> played;
    bool playResult = true;
    int stops = 0;

    int messageBox(const std::string& text, const std::string& caption, int flags) override;
    std::vector<std::string> openFiles(const FileDialogRequest& request, bool multiple) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<std::string> chooseFolder(const std::string& prompt,
                                            const std::string& start) override;
    std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override;
    bool openUrl(const std::string& urlOrPath) override;
    void setClipboardText(const std::string& text) override { clipboard = text; }
    void beep() override { ++beeps; }
    bool playAudio(const std::string& path) override;
    void stopAudio() override { ++stops; }

    // Texts of all recorded messages, in order.
    std::vector<std::string> texts() const;
};

}  // namespace lumetra::test
