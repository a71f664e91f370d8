// lumetra: the desktop program. Start-up with the main window, then the
// event loop; the window ends the program when it closes.

#include <QApplication>
#include <QTimer>
#include <exception>

#include "app/Application.h"
#include "app/Platform.h"
#include "app/Startup.h"
#include "ui/Artwork.h"
#include "ui/HandlerBoundary.h"
#include "ui/QtServices.h"
#include "ui/TfrmMain.h"
#include "ui/TranslateForm.h"
#include "ui/UiFont.h"

int main(int argc, char** argv) {
    using namespace lumetra;
    // Before any thread starts (Qt's and WebEngine's inherit the blocked signals).
    platform::removeInstanceTempFolderOnSignal();
    // WebEngine shares the OpenGL contexts of the application; it must be told first.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication qt(argc, argv);
    QApplication::setFont(ui::UiFont());

    ui::TfrmMain* window = nullptr;
    ui::QtServices services([&window]() -> QWidget* { return window; });
    Application app(services);
    ui::SetArtworkFolder(app.dataFolder() / "gui");
    ui::TfrmMain frmMain(app, {});
    window = &frmMain;

    std::vector<std::string> args;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());
    try {
        RunStartup(app, args, [&] { ui::TranslateForm(app, &frmMain, "frmMain"); });
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
