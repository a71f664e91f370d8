#include "app/Project.h"

#include <cmath>

#include "app/FileOps.h"

namespace lumetra {

void Project::SetModified(bool value) {
    if (loading_) return;
    if (modified_ != value) {
        modified_ = value;
        view_->modifiedChanged(value);
    }
}

void Project::setWindowTitle(std::string title) {
    WindowTitle = std::move(title);
    view_->titleChanged(WindowTitle);
}

recImgItems NewSlide(const std::string& path, double durationSeconds,
                     const ImageSizeReader& readSize) {
    recImgItems slide;
    slide.FileName = path;
    slide.Duration = static_cast<std::int32_t>(std::nearbyint(durationSeconds)) * 1000;
    slide.FileSize = GetFileSizeByName(path);
    int h = 0, w = 0;
    if (readSize && readSize(path, h, w)) {
        slide.ImgHeight = h;
        slide.ImgWidth = w;
    }
    return slide;
}

void ApplySettingsRules(ShowSettings& settings) {
    if (!settings.Autostart) settings.NavBar = true;
    settings.FitWidth = FitSizeDigits(settings.FitWidth);
    settings.FitHeight = FitSizeDigits(settings.FitHeight);
}

bool NavBarEditable(const ShowSettings& settings) {
    return settings.Autostart;
}

std::string FitSizeDigits(const std::string& text) {
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9') digits += c;
    return digits.empty() ? "1" : digits;
}

}  // namespace lumetra
