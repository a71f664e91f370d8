#pragma once
// The web page of a created show and the embedding code for other pages,
// both filled in from the templates data/template.html and data/swfembed.html.

#include <string>
#include <string_view>

namespace lumetra {

class Application;

// A URL prefix as it may stand inside an HTML attribute: blanks, quotes,
// angle brackets, back quotes and control characters are percent-encoded, so
// an odd address can never end the attribute or the element.
std::string UrlPrefixForPage(std::string_view prefix);

// prefix + data folder + "/" + name + ".xml", name being OutputFile's name.
std::string XmlSourceAddress(Application& app, const std::string& prefix);
// The player's address with the description as its query ("%FILENAME%").
std::string PlayerAddress(Application& app, const std::string& prefix);

// The description as the page's inline block carries it: without the
// byte-order mark, and with "</script" written "<\/script" so the text can
// never close its element (our writer escapes every "<" in texts, so this is
// a safeguard only).
std::string ShowXmlForPage(std::string_view showXml);

// Fills the page template, records the page in FTPItems and writes it to
// OutputFile with ".html" (unchanged: no line break added at the end). The
// inline description showXml replaces "%SHOW_XML%" last. Reports a folder
// that cannot be made and returns false; read and write errors throw.
bool WriteShowPage(Application& app, int W, int H, bool transparent, const std::string& prefix,
                   std::string_view showXml);

// The snippet alone with "%WIDTH%", "%HEIGHT%", "%FILENAME%" and "%WMODE%"
// replaced, between the two comment lines of GUI/HTMLCommentStart and
// GUI/HTMLCommentEnd, for the publishing wizard.
std::string EmbeddingCode(Application& app, int W, int H, bool transparent,
                          const std::string& prefix);

}  // namespace lumetra
