// lumetra: the desktop program. Start-up with the main window, then the
// event loop; the window ends the program when it closes.

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <exception>
#include <iostream>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Platform.h"
#include "app/Startup.h"
#include "publish/window/ShowPublishWizard.h"
#include "ui/Artwork.h"
#include "ui/HandlerBoundary.h"
#include "ui/QtServices.h"
#include "ui/TfrmMain.h"
#include "ui/TranslateForm.h"
#include "ui/UiFont.h"

int main(int argc, char** argv) {
    using namespace lumetra;
    // --help, --version and usage errors are answered before Qt needs a display.
    const ProgramCommandLine commandLine = ParseProgramCommandLine({argv + 1, argv + argc});
    if (const auto status = AnswerCommandLine(commandLine, std::cout, std::cerr)) return *status;
    // Before any thread starts (Qt's and WebEngine's inherit the blocked signals).
    platform::removeInstanceTempFolderOnSignal();
    // WebEngine shares the OpenGL contexts of the application; it must be told first.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Qt sees no argument of ours: the command line has no Qt options.
    int qtArgc = 1;
    QApplication qt(qtArgc, argv);
    // The launcher's name: the window's application id on Wayland, and the
    // desktop file that docks and task bars match the window with.
    QGuiApplication::setDesktopFileName("org.example.Lumetra");
    // The installed icon, for window managers that take it from the window.
    QApplication::setWindowIcon(QIcon::fromTheme("org.example.Lumetra"));
    QApplication::setFont(ui::UiFont());

    ui::TfrmMain* window = nullptr;
    ui::QtServices services([&window]() -> QWidget* { return window; });
    Application app(services);
    ui::SetArtworkFolder(app.dataFolder() / "gui");
    ui::TfrmMain frmMain(app, {});
    window = &frmMain;
    // The completion dialog's "publish" choice opens the wizard, made for that use.
    frmMain.openPublishWizard = [&] { ui::ShowPublishWizard(app, &frmMain); };

    try {
        RunStartup(app, commandLine.startupArgs,
                   [&] { ui::TranslateForm(app, &frmMain, "frmMain"); });
    } catch (...) {
        // A project named on the command line that cannot be opened: its
        // message, and the program ends before the window appears.
        ui::ReportHandlerError(app, std::current_exception());
        platform::removeInstanceTempFolder();
        return 1;
    }
    frmMain.centreOnScreen();
    frmMain.show();
    QTimer::singleShot(0, &frmMain, [&] { ui::guarded(app, [&] { frmMain.FormShow(); }); });
    const int status = QApplication::exec();
    platform::removeInstanceTempFolder();
    return status;
}
