#pragma once
// Services for headless tools: messages go to stderr with their kind, every
// question gets its safest answer (Cancel, else No) and says so.

#include <iosfwd>

#include "app/Services.h"

namespace lumetra {

class ConsoleServices : public Services {
  public:
    explicit ConsoleServices(std::ostream& out);
    ConsoleServices();

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

  private:
    std::ostream& out_;
};

// "error", "warning", "information", "question" or "message" for a style.
const char* messageKind(int flags);

}  // namespace lumetra
