#pragma once
// Names of a show's files: the show name made safe for file names and
// addresses, its data folder, and the picture names inside it.

#include <string>
#include <string_view>
#include <vector>

#include "app/Project.h"

namespace lumetra {

class Application;

// The file name of outputFile without its extension, with "-", digits, A-Z,
// "_" and a-z kept, ä and Ä → "ae", ö and Ö → "oe", ü and Ü → "ue", ß → "ss", and every other
// character (a multi-byte one, or a byte that is not UTF-8) → one "-".
std::string SafeShowName(std::string_view outputFile);

// The show name followed by the language text GUI/DataDirName.
std::string DataFolderName(Application& app);

// A picture's usual name in a show: its file name with the extension replaced by ".jpg".
std::string UsualOutputName(std::string_view sourcePath);

// The output name of every slide, in list order. A slide takes its usual name
// unless an earlier slide took it already (letter case aside, as shows are
// often served from case-insensitive servers); it then takes "<name>-2.jpg",
// "<name>-3.jpg", … whichever is free first. Conversion, copy and description
// all use these names, so no slide can show another slide's picture.
std::vector<std::string> SlideOutputNames(const ImgItemList& slides);

}  // namespace lumetra
