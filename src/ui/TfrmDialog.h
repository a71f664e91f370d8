#pragma once
// The completion dialog after a show was created: what to do next (open the
// page in the browser, open its folder, publish it). Its three choices are
// remembered in the settings file; one dialog per use, shown modally.

#include <QDialog>
#include <functional>
#include <string>

class QCheckBox;
class QPushButton;

namespace lumetra {
class Application;
}

namespace lumetra::ui {

class TfrmDialog : public QDialog {
    Q_OBJECT

  public:
    // page: the created show's page (txtOutput).
    TfrmDialog(Application& app, std::string page, QWidget* mainWindow);

    // Opens the publishing wizard (modally). While it is empty the dialog
    // offers no publishing: chkFTP is hidden and its remembered state kept.
    std::function<void()> openPublishWizard;

    // Centred on the main window; the boxes as remembered, the texts translated.
    void FormShow();
    void cmdOKClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void build();

    Application& app_;
    std::string page_;
    QWidget* mainWindow_;
    QCheckBox *chkBrowser_, *chkFTP_, *chkOpenDir_;
    QPushButton *cmdOK_, *cmdCancel_;
};

}  // namespace lumetra::ui
