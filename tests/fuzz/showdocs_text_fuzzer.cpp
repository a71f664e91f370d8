// Any text a user or a file system can produce must come out of the show
// writers as well-formed, safe output: XML text without characters XML 1.0
// refuses, escaped markup, safe show names and an inline block that cannot
// close its script element.

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "generator/Overlays.h"
#include "generator/ShowNames.h"
#include "generator/ShowPage.h"
#include "generator/XmlDocument.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool SafeNameCharacter(char c) {
    return c == '-' || c == '_' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
           (c >= 'a' && c <= 'z');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    using namespace lumetra;

    const std::string safe = XmlSafeText(input);
    Check(XmlSafeText(safe) == safe);  // already safe text passes unchanged
    for (unsigned char c : safe) Check(c >= 0x20 || c == '\t' || c == '\n' || c == '\r');

    const std::string text = EscapeXmlText(safe);
    const std::string attribute = EscapeXmlAttribute(safe);
    Check(text.find('<') == std::string::npos && attribute.find('"') == std::string::npos);

    for (char c : SafeShowName(input)) Check(SafeNameCharacter(c));
    recImgItems slide;
    slide.FileName = std::string(input);
    for (const auto& name : SlideOutputNames({slide}))
        Check(name.size() >= 4 && name.compare(name.size() - 4, 4, ".jpg") == 0);

    std::string lowered = ShowXmlForPage(input);
    for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    Check(lowered.find("</script") == std::string::npos);

    const std::string prefix = UrlPrefixForPage(input);
    Check(prefix.find_first_of("\"'<> `") == std::string::npos);

    const int lines = DescriptionLineCount(input);
    Check(lines >= 0 && static_cast<std::size_t>(lines) <= size);
    return 0;
}
