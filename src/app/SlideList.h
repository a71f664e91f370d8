#pragma once
// The slide list's rules that need no window: which pictures a folder adds and
// in which order, a new project made from a folder, and the edits of the list
// commands (remove, move up, move down) on the slides and their selection.

#include <filesystem>
#include <string>
#include <vector>

#include "app/Project.h"

namespace lumetra {

class Application;

// Compares names as a file manager orders them: without regard to letter
// case, and runs of digits by their value ("img2" before "img10").
bool NaturalLess(const std::string& a, const std::string& b);

// Appends the files of folder (subfolders are not entered) whose extension,
// in lower case, equals ext in lower case, sorted by NaturalLess.
void FindImageFiles(const std::filesystem::path& folder, const std::string& ext,
                    std::vector<std::string>& list);

// The extension groups of the add-folder command, in their order.
inline constexpr const char* kFolderImageExtensions[] = {".jpg", ".jpeg", ".png", ".bmp", ".gif"};

// FindImageFiles for every group of kFolderImageExtensions, in that order.
std::vector<std::string> FolderImageFiles(const std::filesystem::path& folder);

// A new project holding the folder's pictures with the new-slide defaults.
void NewProjectFromFolder(Application& app, const std::filesystem::path& folder,
                          const ImageSizeReader& readSize, double durationSeconds = 5);

// Row selection of the list, one flag per slide.
using RowSelection = std::vector<bool>;

// Removes the selected slides (and their flags). Returns the row to select
// afterwards: 0 when the first removed index was 0 or nothing was removed,
// that index when a row is still there, else the last row; -1 for an empty list.
int RemoveSelectedSlides(ImgItemList& slides, RowSelection& selection);

// Moves every selected slide one place up (a block of adjacent ones moves as a
// block); the selection moves along. Nothing happens when the first row is
// selected. Returns the indices of the rows whose content changed, or nothing.
std::vector<std::size_t> MoveSelectedSlidesUp(ImgItemList& slides, RowSelection& selection);
// The same downwards; nothing when the last row is selected.
std::vector<std::size_t> MoveSelectedSlidesDown(ImgItemList& slides, RowSelection& selection);

}  // namespace lumetra
