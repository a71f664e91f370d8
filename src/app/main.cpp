// Console start-up: runs the start-up sequence and reports the state it
// reached. The window layer replaces this entry point.

#include <exception>
#include <iostream>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/ConsoleServices.h"
#include "app/Startup.h"

int main(int argc, char** argv) {
    const auto commandLine = lumetra::ParseProgramCommandLine({argv + 1, argv + argc});
    if (const auto status = lumetra::AnswerCommandLine(commandLine, std::cout, std::cerr))
        return *status;
    lumetra::ConsoleServices services;
    lumetra::Application app(services);
    try {
        lumetra::RunStartup(app, commandLine.startupArgs);
    } catch (const std::exception& e) {
        services.messageBox(e.what(), "Lumetra", lumetra::mb::kError);
        return 1;
    }
    const auto& p = app.project;
    std::cout << "Title:         " << p.WindowTitle << '\n'
              << "Settings file: " << app.settings.SettingsFile().string() << '\n'
              << "Language:      " << app.language.CurrentLanguage() << '\n'
              << "Music titles:  " << app.musicTitles.size() << '\n'
              << "Project:       "
              << (p.ProjectFileName.empty() ? "(new project)" : p.ProjectFileName) << '\n'
              << "Slides:        " << p.ImgItems.size() << '\n'
              << "Output page:   " << p.Settings.OutputFile << '\n';
    return 0;
}
