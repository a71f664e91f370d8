#pragma once
// The new-folder dialog of the wizard's folder page: the name of the new
// folder, a greyed preview of its full path and Create, enabled with a name.
// One dialog serves the whole run (NewFolderDialog).

#include <QDialog>
#include <optional>
#include <string>

class QLineEdit;
class QPushButton;

namespace lumetra {
class Application;
}

namespace lumetra::ui {

class TfrmFTPNewDir : public QDialog {
    Q_OBJECT

  public:
    TfrmFTPNewDir(Application& app, QWidget* parent);

    // The folder in which the new folder is made.
    std::string BasePath;

    // Shown modally, centred on owner, with the name empty; the full path
    // of the new folder on Create, nothing on Cancel.
    std::optional<std::string> ask(const std::string& basePath, QWidget* owner);

  public slots:
    void FormShow();
    void txtDirNameChange(const QString& name);

  private:
    Application& app_;
    QLineEdit* txtDirName_;
    QLineEdit* txtDirPath_;
    QPushButton* btnCreate_;
    QPushButton* btnCancel_;
};

// The run's one new-folder dialog, made with the first use and kept as a
// child of the program's main window (found from owner).
TfrmFTPNewDir& NewFolderDialog(Application& app, QWidget* owner);

}  // namespace lumetra::ui
