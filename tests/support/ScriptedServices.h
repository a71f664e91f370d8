#pragma once
// Services for tests: every message is recorded, questions take queued
// answers, dialogs return queued results, and every file or folder dialog
// request is recorded.
//
// Without an answer queued, a question gets IDOK and a dialog is cancelled.
// In strict mode that is a test failure instead: OK is no answer to a Yes/No
// question, and a dialog nobody expected hides a fault. A strict question
// then answers Cancel (or No), the safest choice.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/Services.h"

namespace lumetra::test {

struct RecordedMessage {
    std::string text;
    std::string caption;
    int flags;
};

enum class DialogKind { OpenFiles, SaveFile, ChooseFolder, ChooseColor };

struct RecordedDialog {
    DialogKind kind;
    FileDialogRequest request;  // title = the folder prompt for ChooseFolder
    bool multiple = false;
};

class ScriptedServices : public Services {
  public:
    std::vector<RecordedMessage> messages;
    std::deque<int> answers;
    std::deque<std::vector<std::string>> fileAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<std::optional<std::string>> folderAnswers;
    std::deque<std::optional<std::uint32_t>> colorAnswers;
    std::vector<RecordedDialog> dialogs;
    std::vector<std::string> openedUrls;
    std::string clipboard;
    int beeps = 0;
    std::vector<std::string> played;
    bool playResult = true;
    // Results of the next playAudio calls, before playResult.
    std::deque<bool> playResults;
    // Called by playAudio with the path while the file is there to look at.
    std::function<void(const std::string&)> onPlay;
    int stops = 0;
    // What the caller wants to hear when playback ends; audioEnded() tells it.
    std::function<void()> audioEndedHandler;
    void audioEnded() {
        if (audioEndedHandler) audioEndedHandler();
    }

    // Strict mode and what it found; report is called for each finding
    // (GoogleTest's ADD_FAILURE unless a test framework sets its own).
    bool strict = false;
    std::vector<std::string> unexpected;
    std::function<void(const std::string&)> report;

    // Called by every messageBox before it answers (a test can look at the
    // window while the "modal" message is up).
    std::function<void(const RecordedMessage&)> onMessage;

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
    void stopAudio() override {
        ++stops;
        audioEnded();
    }
    void setAudioEndedHandler(std::function<void()> handler) override {
        audioEndedHandler = std::move(handler);
    }

    // Texts of all recorded messages, in order.
    std::vector<std::string> texts() const;

  private:
    void fail(const std::string& what);
};

}  // namespace lumetra::test
