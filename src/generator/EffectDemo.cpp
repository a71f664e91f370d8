#include "generator/EffectDemo.h"

#include "app/Application.h"
#include "generator/Effects.h"
#include "generator/FileCopy.h"
#include "generator/XmlDocument.h"

namespace lumetra {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDesert = "desert.jpg";
constexpr const char* kBeach = "beach.jpg";

}  // namespace

std::string EffectDemoXML(int effect, bool startWithDesert) {
    XmlElement root("slideshow");
    XmlElement& first = root.Append("slide");
    first.Set("purge", "false");
    first.Append("transition").Set("type", "none");
    first.Append("image").Set("url", startWithDesert ? kDesert : kBeach).Set("duration", "0");
    XmlElement& second = root.Append("slide");
    second.Set("purge", "false");
    AddTransition(effect, 1, second);
    second.Append("image").Set("url", startWithDesert ? kBeach : kDesert);
    second.Append("navigation").Set("next", "1");
    return SerializeXmlDocument(root);
}

std::string WriteEffectDemo(Application& app, const fs::path& folder, int effect,
                            bool startWithDesert, const RandomInt& random) {
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    CopyFileReplacing(app.dataFolder() / "slideshow.js", folder / "preview.js");
    CopyFileReplacing(app.dataFolder() / "gui" / kDesert, folder / kDesert);
    CopyFileReplacing(app.dataFolder() / "gui" / kBeach, folder / kBeach);
    if (effect == 0) effect = DrawRandomEffect(random);
    WriteFileBytes(folder / "preview.xml", EffectDemoXML(effect, startWithDesert));
    return (folder / "preview.js").string() +
           "?xml_source=preview.xml&x=" + (startWithDesert ? "-1" : "0");
}

}  // namespace lumetra
