#include "generator/ShowPage.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

#include "app/Application.h"
#include "app/FileOps.h"
#include "app/Version.h"
#include "generator/FileCopy.h"
#include "generator/HtmlColor.h"
#include "generator/ShowFolder.h"
#include "generator/ShowNames.h"
#include "lang/Placeholders.h"

namespace lumetra {

namespace fs = std::filesystem;

std::string UrlPrefixForPage(std::string_view prefix) {
    std::string out;
    for (char c : prefix) {
        const auto b = static_cast<unsigned char>(c);
        if (b <= 0x20 || b == 0x7F || c == '"' || c == '\'' || c == '<' || c == '>' || c == '`') {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", b);
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

std::string ShowFileStem(Application& app) {
    return fs::path(app.project.Settings.OutputFile).stem().string();
}

std::string WindowMode(bool transparent) {
    return transparent ? "transparent" : "window";
}

std::string LoadTemplate(Application& app, const char* name) {
    return LoadTextFile(app.dataFolder() / name);
}

}  // namespace

std::string XmlSourceAddress(Application& app, const std::string& prefix) {
    return UrlPrefixForPage(prefix) + DataFolderName(app) + "/" + ShowFileStem(app) + ".xml";
}

std::string PlayerAddress(Application& app, const std::string& prefix) {
    return UrlPrefixForPage(prefix) + DataFolderName(app) + "/" + ShowFileStem(app) +
           ".js?xml_source=" + XmlSourceAddress(app, prefix);
}

std::string ShowXmlForPage(std::string_view showXml) {
    if (showXml.substr(0, 3) == "\xEF\xBB\xBF") showXml.remove_prefix(3);
    std::string out;
    out.reserve(showXml.size());
    for (std::size_t i = 0; i < showXml.size(); ++i) {
        out += showXml[i];
        if (showXml[i] == '<' && i + 8 <= showXml.size() && showXml[i + 1] == '/') {
            std::string word(showXml.substr(i + 2, 6));
            for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (word == "script") out += '\\';
        }
    }
    return out;
}

bool WriteShowPage(Application& app, int W, int H, bool transparent, const std::string& prefix,
                   std::string_view showXml) {
    const ShowSettings& settings = app.project.Settings;
    std::string page = LoadTemplate(app, "template.html");
    const std::string snippet = LoadTemplate(app, "swfembed.html");
    const std::string title = app.GetLangString(lang::gui::kTitle);
    // One placeholder after the other, in this order: the snippet's own
    // placeholders are filled by the steps after the first.
    page = ReplacePlaceholder(page, "%SWF_EMBED%", snippet);
    page = ReplacePlaceholder(page, "%PAGE_TITLE%", title);
    page = ReplacePlaceholder(page, "%GENERATOR%",
                              title + " " + ProgramVersion(true) + " (" +
                                  app.GetLangString(lang::internet::kHomepage) + ")");
    page = ReplacePlaceholder(page, "%WIDTH%", std::to_string(W));
    page = ReplacePlaceholder(page, "%HEIGHT%", std::to_string(H));
    page = ReplacePlaceholder(page, "%FILENAME%", PlayerAddress(app, prefix));
    page = ReplacePlaceholder(page, "%XML_SOURCE%", XmlSourceAddress(app, prefix));
    page = ReplacePlaceholder(page, "%WMODE%", WindowMode(transparent));
    page = ReplacePlaceholder(page, "%BGCOLOR%",
                              transparent ? "white" : ColorToHtml(settings.BackgroundColor));
    page =
        ReplacePlaceholder(page, "%CODE_BEGIN%", app.GetLangString(lang::gui::kHTMLCommentStart));
    page = ReplacePlaceholder(page, "%CODE_END%", app.GetLangString(lang::gui::kHTMLCommentEnd));
    page = ReplacePlaceholder(page, "%SHOW_XML%", ShowXmlForPage(showXml));

    const fs::path pagePath = fs::path(settings.OutputFile).replace_extension(".html");
    if (prefix.empty() && !EnsureFolderFor(app, pagePath)) return false;
    AddUploadItem(app.project, pagePath.string(), false);
    WriteFileBytes(pagePath, page);
    return true;
}

std::string EmbeddingCode(Application& app, int W, int H, bool transparent,
                          const std::string& prefix) {
    std::string snippet = LoadTemplate(app, "swfembed.html");
    snippet = ReplacePlaceholder(snippet, "%WIDTH%", std::to_string(W));
    snippet = ReplacePlaceholder(snippet, "%HEIGHT%", std::to_string(H));
    snippet = ReplacePlaceholder(snippet, "%FILENAME%", PlayerAddress(app, prefix));
    snippet = ReplacePlaceholder(snippet, "%WMODE%", WindowMode(transparent));
    return "<!-- " + app.GetLangString(lang::gui::kHTMLCommentStart) + " -->\r\n" + snippet +
           "\r\n<!-- " + app.GetLangString(lang::gui::kHTMLCommentEnd) + " -->";
}

}  // namespace lumetra
