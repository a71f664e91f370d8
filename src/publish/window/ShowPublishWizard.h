#pragma once
// Opens the publishing wizard for the show created last: made for this use,
// shown modally above owner and released when it closes.

class QWidget;

namespace lumetra {
class Application;
}

namespace lumetra::ui {

void ShowPublishWizard(Application& app, QWidget* owner);

}  // namespace lumetra::ui
