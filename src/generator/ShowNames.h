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

// A file name as it may stand in the show's addresses: the characters that
// change what a relative address means ("#", "?", "%" and the backslash) and control
// characters become "-". Blanks, umlauts and quotes stay: browsers read them
// as they are.
std::string AddressSafeFileName(std::string_view name);

// A picture's usual name in a show: its file name with the extension replaced
// by ".jpg", made address-safe.
std::string UsualOutputName(std::string_view sourcePath);

// The output name of every slide, in list order. A slide takes its usual name
// unless an earlier slide took it already (letter case aside, as shows are
// often served from case-insensitive servers); it then takes "<name>-2.jpg",
// "<name>-3.jpg", … whichever is free first. Conversion, copy and description
// all use these names, so no slide can show another slide's picture. The cost
// grows linearly with the number of slides, repeated names included.
std::vector<std::string> SlideOutputNames(const ImgItemList& slides);

// The name of the music file in the show: "lmtswfa.dat" for library music;
// for the user's own file its address-safe name, made distinct (as above)
// from the player, the description and every picture, so the copy never
// replaces one of them; empty without music.
std::string MusicOutputName(const Project& project);

}  // namespace lumetra
