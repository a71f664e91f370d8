#pragma once
// Applies a window's translation table (lang/TranslationTables.h) to its
// widgets, found by objectName: captions, the labels of text fields, hints
// (also the accessible names of picture buttons) and list entries. One
// function for every window of the program.

#include <QWidget>
#include <string>

class QLabel;

#include "lang/TranslationTables.h"

namespace lumetra {
class Application;
}

namespace lumetra::ui {

// formName is the window's table ("frmMain", "frmDialog", ...); state carries
// what the rows depend on besides the language (the main window's fitting
// state is read from the window itself). A control the window does not have
// is passed over; its texts are still looked up.
void TranslateForm(Application& app, QWidget* window, const std::string& formName,
                   lang::TranslationState state = {}, const std::string& newLanguage = {});

// The label that belongs to a text field (its buddy), or null.
QLabel* FieldLabel(QWidget* window, QWidget* field);

}  // namespace lumetra::ui
