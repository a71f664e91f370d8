#pragma once
// Everything that talks to the person at the screen goes through this one
// interface: message boxes, file/folder/colour dialogs, opening addresses,
// the clipboard, the beep and audio playback. The window layer implements it
// with Qt; headless tools print to the console; tests script the answers.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lumetra {

// Message box styles and results, with the values of the classic message box API.
namespace mb {
inline constexpr int kOk = 0;
inline constexpr int kYesNoCancel = 3;
inline constexpr int kYesNo = 4;
inline constexpr int kIconError = 16;
inline constexpr int kIconQuestion = 32;
inline constexpr int kIconWarning = 48;
inline constexpr int kIconInformation = 64;

inline constexpr int kError = kIconError;                       // 16
inline constexpr int kWarning = kIconWarning;                   // 48
inline constexpr int kInformation = kIconInformation;           // 64
inline constexpr int kQuestion = kIconQuestion | kYesNoCancel;  // 35
inline constexpr int kQuestionYesNo = kIconQuestion | kYesNo;   // 36

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
}  // namespace mb

struct FileDialogRequest {
    std::string title;
    std::string filter;  // "description|*.a;*.b|..." as the language files hold it
    std::string initialPath;
    std::string defaultExtension;
};

class Services {
  public:
    virtual ~Services() = default;

    // Modal message box; returns mb::IDOK, IDCANCEL, IDYES or IDNO.
    virtual int messageBox(const std::string& text, const std::string& caption, int flags) = 0;

    virtual std::vector<std::string> openFiles(const FileDialogRequest& request, bool multiple) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> chooseFolder(const std::string& prompt,
                                                    const std::string& start) = 0;
    // Colours are 0x00BBGGRR.
    virtual std::optional<std::uint32_t> chooseColor(std::uint32_t initial) = 0;

    // Opens an address, document or folder with the desktop's default handler.
    virtual bool openUrl(const std::string& urlOrPath) = 0;
    virtual void setClipboardText(const std::string& text) = 0;
    virtual void beep() = 0;

    // Plays an audio file once (or until stopAudio). Returns once the file is
    // open and playing (true), or when it cannot be opened or played (false);
    // a new call replaces what plays. Never waits without a bound.
    virtual bool playAudio(const std::string& path) = 0;
    virtual void stopAudio() = 0;
    // Called whenever playback that playAudio started ends: by stopAudio, at
    // the end of the file, or by an error while it plays.
    virtual void setAudioEndedHandler(std::function<void()> /*handler*/) {}
};

}  // namespace lumetra
