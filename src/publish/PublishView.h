#pragma once
// What the publishing wizard tells its window: the page shown, the status
// line, the two progress bars, the buttons, the fields it fills itself, the
// folder list and the final page. The Qt window mirrors these into widgets;
// lumetra-make prints them; tests record them. Messages go through Services.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "publish/AccessData.h"
#include "publish/FtpClient.h"

namespace lumetra::publish {

// The five page panels, one visible at a time.
enum class WizardPage {
    Connection,  // panStep1, lblLeft1 bold
    Folder,      // panStep2, lblLeft2 bold
    Sync,        // panStepSync, lblLeft3 bold
    Transfer,    // panStep3, lblLeft3 bold
    Result,      // panStepHTML, lblLeft3 bold
};

struct WizardButtons {
    bool nextEnabled = true;
    bool nextDefault = true;
    bool nextShowsLink = false;  // caption frmFTP/cmdShowLink instead of cmdNext
    bool cancelEnabled = true;
    bool cancelCloses = false;  // caption frmFTP/cmdCancel2 instead of cmdCancel
    bool operator==(const WizardButtons&) const = default;
};

// One entry of jvlstFtpDirListing; icon 0 up, 1 folder, 2 new folder.
struct FolderListEntry {
    enum class Icon { Parent = 0, Folder = 1, NewFolder = 2 };
    Icon icon;
    std::string text;
    bool operator==(const FolderListEntry&) const = default;
};

struct ResultPage {
    bool linkMode = false;
    std::string link;          // txtLinkShow (text and hint), link mode
    std::string relativeHint;  // lblRelativeHTML, relative mode
    std::string code;          // txtHTMLSrc
};

enum class FocusTarget { Next, Host, HtmlCode };

class PublishView {
  public:
    virtual ~PublishView() = default;

    virtual void pageShown(WizardPage) {}
    virtual void statusChanged(const std::string& /*lblAct*/) {}
    virtual void fileProgressChanged(std::int64_t /*position*/, std::int64_t /*maximum*/) {}
    virtual void overallProgressChanged(int /*position*/, int /*maximum*/) {}
    virtual void buttonsChanged(const WizardButtons&) {}
    // The program filled or rewrote the connection fields.
    virtual void fieldsChanged(const ConnectionFields&) {}
    virtual void folderListChanged(const std::vector<FolderListEntry>& /*entries*/,
                                   const std::string& /*txtTargetDir*/) {}
    virtual void syncTextChanged(const std::string& /*lblSyncTrue*/) {}
    virtual void transferOkShown(bool /*visible*/) {}
    virtual void resultShown(const ResultPage&) {}
    virtual void securityChanged(const Security&) {}
    virtual void focusRequested(FocusTarget) {}
    // TranslateForm("frmFTP"), which also resets the button captions.
    virtual void translate() {}
    // The wizard has ended (Cancel or closing): the window closes.
    virtual void closeRequested() {}
    // The new-folder dialog (TfrmFTPNewDir) for BasePath; its txtDirPath on
    // Create, nothing on Cancel.
    virtual std::optional<std::string> askNewFolder(const std::string& /*basePath*/) {
        return std::nullopt;
    }
    // Lets the window handle pending input (a click on Cancel).
    virtual void pump() {}
};

// The new-folder dialog's preview: BasePath alone for an empty name, else
// BasePath + "/" + name ("/" + name in "/"); Create is enabled with a name.
std::string NewFolderPath(const std::string& basePath, const std::string& name);

}  // namespace lumetra::publish
