#pragma once
// The update window: a page that starts the check and a page with its
// result, beside a strip naming the two steps. The main window creates it
// for one use and shows it modally. The fetch runs on a worker
// (BackgroundFetch) while the window stays disabled and keeps painting;
// reading the settings, writing Update/LastCheck and every message stay on
// the window's thread. Closing the window during a check abandons the
// request.

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "publish/HttpClient.h"

class QFrame;
class QLabel;
class QPushButton;

namespace lumetra {
class Application;
}

namespace lumetra::update {
class BackgroundFetch;
struct UpdateCheckResult;
}  // namespace lumetra::update

namespace lumetra::ui {

class ClickableLabel;

class TfrmUpdate : public QDialog {
    Q_OBJECT

  public:
    TfrmUpdate(Application& app, QWidget* mainWindow);
    // Waits for an abandoned fetch to end (it is polled every 10 ms).
    ~TfrmUpdate() override;

    // Centred on the main window and shown modally until it closes.
    int showModal();

    // How showModal waits: exec() unless a test drives the window instead
    // (the window is then open and modal when the runner is called, and is
    // closed after it). An empty function restores exec().
    using ModalRunner = std::function<void(TfrmUpdate&)>;
    static void setModalRunner(ModalRunner runner);

    // A check is under way (the window is disabled meanwhile).
    bool checking() const { return fetch_ != nullptr; }

  public slots:
    void FormShow();
    void cmdCheckClick();
    void lblDownloadClick();
    void lblHistoryClick();

  signals:
    // A check ended: its result shown, its failure reported, or abandoned.
    void checkFinished();

  public:
    // Closing (Cancel, Esc, the title bar) during a check abandons it.
    void done(int r) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildHeader();
    void buildSteps();
    void buildCheckPage();
    void buildResultPage();
    void connectHandlers();
    // The fetch ended; runs on the window's thread.
    void fetchFinished(const publish::HttpResponse& response);
    void showResult(const update::UpdateCheckResult& result);
    void openLink(const QLabel* link);

    Application& app_;
    QWidget* mainWindow_;
    publish::HttpClient client_;
    std::string ownVersion_;
    std::unique_ptr<update::BackgroundFetch> fetch_;
    bool abandoned_ = false;  // closed during the check: its answer is dropped

    QLabel *Label2_, *Label3_;
    QFrame* panLeft_;
    QLabel *lblLeft1_, *lblLeft2_;
    QFrame *panBack1_, *panBack2_;
    QLabel *Label4_, *Label1_, *Label6_;
    QPushButton* cmdCheck_;
    QLabel *lblVers1_, *lblVers2_, *lblStatus_, *lblVersHist_;
    ClickableLabel *lblDownload_, *lblHistory_;
    QPushButton* cmdCancel_;
};

}  // namespace lumetra::ui
