#pragma once
// The small page that plays a show in a player view: the player's stage at
// the view's size and the player script with its description address. The
// description is inlined when it can be read, so the page never depends on
// the web view's rules for reading neighbouring local files.

#include <filesystem>
#include <string>
#include <vector>

namespace lumetra::player {

struct PlayerAddress {
    std::filesystem::path script;  // the player copy, e.g. <folder>/preview.js
    std::string query;             // everything after "?", e.g. xml_source=preview.xml&x=-1
    std::string xmlSource;         // the description's address relative to the script's folder
};

// Splits "<folder>/name.js?xml_source=name.xml&x=0". Without a query the
// description is empty (the bare player).
PlayerAddress ParsePlayerAddress(const std::string& address);

struct HostPageOptions {
    int width = 0, height = 0;
    std::string background;  // RRGGBB, or empty for transparent
    bool transparent = false;
};

// A JavaScript string literal of text, safe inside an HTML script element.
std::string JsString(const std::string& text);
// A JavaScript array literal of such strings.
std::string JsStringArray(const std::vector<std::string>& texts);

// The page's HTML; description is the bytes of the description file (may be
// empty). pendingPictures (their addresses in the description) are still
// being prepared: the page holds the player's loading of each back until
// lumetraPictureReady(address) or lumetraPicturesPending([...]) releases it.
std::string PlayerHostPage(const PlayerAddress& address, const std::string& description,
                           const HostPageOptions& options,
                           const std::vector<std::string>& pendingPictures = {});

// A page without a show: the stage alone in the background colour.
std::string BarePlayerPage(const HostPageOptions& options);

}  // namespace lumetra::player
