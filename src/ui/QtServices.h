#pragma once
// Services on the desktop: Qt's message boxes and dialogs, the desktop's
// default handlers for addresses, the clipboard, the beep and the music
// preview's player (made with the first sound).

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/Services.h"

namespace lumetra::ui {

class AudioPlayer;

class QtServices : public Services {
  public:
    // dialogParent gives the window a dialog belongs to at the moment it opens.
    explicit QtServices(std::function<QWidget*()> dialogParent = {});
    ~QtServices() override;

    int messageBox(const std::string& text, const std::string& caption, int flags) override;
    std::vector<std::string> openFiles(const FileDialogRequest& request, bool multiple) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<std::string> chooseFolder(const std::string& prompt,
                                            const std::string& start) override;
    std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override;
    bool openUrl(const std::string& urlOrPath) override;
    void setClipboardText(const std::string& text) override;
    void beep() override;
    bool playAudio(const std::string& path) override;
    void stopAudio() override;
    void setAudioEndedHandler(std::function<void()> handler) override;
    // The player, once a sound was played (tests look at it).
    AudioPlayer* audioPlayer() const { return audio_.get(); }

  private:
    QWidget* parent() const;
    std::function<QWidget*()> dialogParent_;
    std::unique_ptr<AudioPlayer> audio_;
    std::function<void()> audioEnded_;
};

}  // namespace lumetra::ui
