#pragma once
// The checks before a show is built (opening the create page, lumetra-make):
// there are slides, every picture is there, and the own music file is there.
// They only report; the window turns a result into a page switch and a
// message, lumetra-make into a message and its exit status.

#include <string>

namespace lumetra {

class Application;
class Project;

struct ShowSourcesCheck {
    enum class Result {
        Ready,           // everything is there
        AudioEmptied,    // own music chosen without a file: switched to no music; ready
        NoPictures,      // the slide list is empty
        MissingPicture,  // path: the first slide whose picture is not there
        MissingAudio,    // path: the own music file that is not there
    };
    Result result = Result::Ready;
    std::string path;

    bool ready() const { return result == Result::Ready || result == Result::AudioEmptied; }
};

// No slides, else the first slide (in list order) whose picture is missing.
ShowSourcesCheck CheckShowPictures(const Project& project);

// Own music chosen: without a file (empty or the hint text) the choice becomes
// no music; a file that is not there is reported.
ShowSourcesCheck CheckOwnAudio(Project& project);

// CheckShowPictures, then CheckOwnAudio.
ShowSourcesCheck CheckShowSources(Project& project);

// Shows the message of a check that is not ready (NoImagesAdded with the
// information icon, FileDoesntExist or AudioDoesntExist with the error icon);
// returns check.ready().
bool ReportShowSources(Application& app, const ShowSourcesCheck& check);

}  // namespace lumetra
