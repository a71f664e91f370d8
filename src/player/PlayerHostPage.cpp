#include "player/PlayerHostPage.h"

#include "app/FileOps.h"
#include "generator/ShowPage.h"
#include "generator/XmlDocument.h"

namespace lumetra::player {

namespace {

std::string queryValue(const std::string& query, const std::string& name) {
    std::size_t pos = 0;
    while (pos <= query.size()) {
        std::size_t end = query.find('&', pos);
        if (end == std::string::npos) end = query.size();
        const std::string part = query.substr(pos, end - pos);
        if (part.rfind(name + "=", 0) == 0) return part.substr(name.size() + 1);
        pos = end + 1;
    }
    return {};
}

std::string pageStart(const HostPageOptions& o) {
    const std::string background =
        o.transparent || o.background.empty() ? "transparent" : "#" + o.background;
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><style>"
           "html,body{margin:0;padding:0;overflow:hidden;background:" +
           background + ";}.lumetra-stage{width:" + std::to_string(o.width) +
           "px;height:" + std::to_string(o.height) + "px;}</style></head><body>\n";
}

// The gate the player asks before it loads a picture (lumetraPictureGate):
// a picture still being prepared is held back until the view releases it.
std::string pictureGate(const std::vector<std::string>& pending) {
    return "<script>(function(){var held=new Set(" + JsStringArray(pending) +
           "),waits=new Map();"
           "window.lumetraPictureGate=function(u){if(!held.has(u))return Promise.resolve();"
           "return new Promise(function(go){if(!waits.has(u))waits.set(u,[]);"
           "waits.get(u).push(go);});};"
           "window.lumetraPictureReady=function(u){held.delete(u);"
           "(waits.get(u)||[]).forEach(function(go){go();});waits.delete(u);};"
           "window.lumetraPicturesPending=function(list){var still=new Set(list);"
           "Array.from(held).forEach(function(u){if(!still.has(u))"
           "window.lumetraPictureReady(u);});};})();</script>\n";
}

}  // namespace

std::string JsString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || c == '<' || c == '>' || c == '&') {
            static const char* const hex = "0123456789abcdef";
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

std::string JsStringArray(const std::vector<std::string>& texts) {
    std::string list;
    for (const std::string& text : texts) list += (list.empty() ? "" : ",") + JsString(text);
    return "[" + list + "]";
}

PlayerAddress ParsePlayerAddress(const std::string& address) {
    PlayerAddress out;
    const std::size_t question = address.find('?');
    out.script = address.substr(0, question);
    if (question != std::string::npos) out.query = address.substr(question + 1);
    out.xmlSource = queryValue(out.query, "xml_source");
    return out;
}

std::string PlayerHostPage(const PlayerAddress& address, const std::string& description,
                           const HostPageOptions& options,
                           const std::vector<std::string>& pendingPictures) {
    std::string page = pageStart(options);
    if (!description.empty())
        page += "<script type=\"application/xml\" data-xml-source=\"" +
                EscapeXmlAttribute(address.xmlSource) + "\">" + ShowXmlForPage(description) +
                "</script>\n";
    // The page reports the player's events on the console, where the view
    // reads them (listening while the events pass the document, since they
    // do not bubble). The stage must stand right before the player script.
    page +=
        "<script>"
        "document.addEventListener('lumetra:ready',function(e){"
        "console.log('lumetra:ready '+e.detail.slides);},true);"
        "document.addEventListener('lumetra:slide',function(e){"
        "console.log('lumetra:slide '+e.detail.index);},true);"
        "document.addEventListener('lumetra:error',function(){console.log('lumetra:error');},true);"
        "</script>\n";
    if (!pendingPictures.empty()) page += pictureGate(pendingPictures);
    page += "<div class=\"lumetra-stage\" data-wmode=\"" +
            std::string(options.transparent ? "transparent" : "window") + "\"></div>\n";
    page += "<script src=\"" + EscapeXmlAttribute(address.script.filename().string()) +
            (address.query.empty() ? "" : "?" + EscapeXmlAttribute(address.query)) +
            "\"></script>\n</body></html>\n";
    return page;
}

std::string BarePlayerPage(const HostPageOptions& options) {
    return pageStart(options) + "<div class=\"lumetra-stage\"></div>\n</body></html>\n";
}

}  // namespace lumetra::player
