#include "app/ConsoleServices.h"

#include <iostream>

namespace lumetra {

const char* messageKind(int flags) {
    switch (flags & 0xF0) {
        case mb::kIconError:
            return "error";
        case mb::kIconWarning:
            return "warning";
        case mb::kIconInformation:
            return "information";
        case mb::kIconQuestion:
            return "question";
        default:
            return "message";
    }
}

ConsoleServices::ConsoleServices(std::ostream& out) : out_(out) {}
ConsoleServices::ConsoleServices() : out_(std::cerr) {}

int ConsoleServices::messageBox(const std::string& text, const std::string& caption, int flags) {
    out_ << messageKind(flags) << ": " << (caption.empty() ? "" : caption + ": ") << text << '\n';
    switch (flags & 0x0F) {
        case mb::kYesNoCancel:
            out_ << "  (answered Cancel: no one is at the console to decide)\n";
            return mb::IDCANCEL;
        case mb::kYesNo:
            out_ << "  (answered No: no one is at the console to decide)\n";
            return mb::IDNO;
        default:
            return mb::IDOK;
    }
}

std::vector<std::string> ConsoleServices::openFiles(const FileDialogRequest&, bool) {
    return {};
}
std::optional<std::string> ConsoleServices::saveFile(const FileDialogRequest&) {
    return {};
}
std::optional<std::string> ConsoleServices::chooseFolder(const std::string&, const std::string&) {
    return {};
}
std::optional<std::uint32_t> ConsoleServices::chooseColor(std::uint32_t) {
    return {};
}

bool ConsoleServices::openUrl(const std::string& urlOrPath) {
    out_ << "open: " << urlOrPath << '\n';
    return false;
}

void ConsoleServices::setClipboardText(const std::string&) {}
void ConsoleServices::beep() {}
bool ConsoleServices::playAudio(const std::string&) {
    return false;
}
void ConsoleServices::stopAudio() {}

}  // namespace lumetra
