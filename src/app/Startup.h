#pragma once
// The start-up order, without windows: title, instance marker, settings file,
// music list, new project, translation of the main window (by the window
// layer), then the project named by the first argument.

#include <functional>
#include <string>
#include <vector>

namespace lumetra {

class Application;

// args are the command-line arguments after the program name. A project file
// that cannot be opened throws (the caller reports it); one that is damaged or
// too new is reported through the message interface and leaves a new project.
void RunStartup(Application& app, const std::vector<std::string>& args,
                const std::function<void()>& translateMainWindow = {});

}  // namespace lumetra
