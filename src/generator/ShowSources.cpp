#include "generator/ShowSources.h"

#include "app/Application.h"
#include "app/Platform.h"
#include "app/Services.h"

namespace lumetra {

using Result = ShowSourcesCheck::Result;

ShowSourcesCheck CheckShowPictures(const Project& project) {
    if (project.ImgItems.empty()) return {Result::NoPictures, {}};
    for (const auto& slide : project.ImgItems)
        if (!platform::fileExists(slide.FileName)) return {Result::MissingPicture, slide.FileName};
    return {};
}

ShowSourcesCheck CheckOwnAudio(Project& project) {
    ShowSettings& settings = project.Settings;
    if (settings.audioMode != AudioMode::OwnFile) return {};
    if (settings.AudioFile.empty() || settings.AudioFile == project.AudioFileHint) {
        settings.audioMode = AudioMode::None;
        return {Result::AudioEmptied, {}};
    }
    if (!platform::fileExists(settings.AudioFile))
        return {Result::MissingAudio, settings.AudioFile};
    return {};
}

ShowSourcesCheck CheckShowSources(Project& project) {
    ShowSourcesCheck pictures = CheckShowPictures(project);
    if (!pictures.ready()) return pictures;
    return CheckOwnAudio(project);
}

bool ReportShowSources(Application& app, const ShowSourcesCheck& check) {
    switch (check.result) {
        case Result::Ready:
        case Result::AudioEmptied:
            return true;
        case Result::NoPictures:
            app.Message(lang::messages::kNoImagesAdded, mb::kInformation);
            return false;
        case Result::MissingPicture:
            app.Message(lang::messages::kFileDoesntExist, mb::kError, {check.path});
            return false;
        case Result::MissingAudio:
            app.Message(lang::messages::kAudioDoesntExist, mb::kError, {check.path});
            return false;
    }
    return false;
}

}  // namespace lumetra
