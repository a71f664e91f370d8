// Arbitrary INI text: reading never crashes, and a value written with
// setValue always reads back (for values that survive trimming).

#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    (void)lumetra::ini::findValue(text, "Main", "Language");
    (void)lumetra::ini::parseInt(text.substr(0, 16));

    // The last bytes choose a value; the rest is the file.
    std::string value;
    for (std::size_t i = text.size() > 8 ? text.size() - 8 : 0; i < text.size(); ++i) {
        char c = text[i];
        value += (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ? c : 'x';
    }
    std::string written = lumetra::ini::setValue(text, "FTP", "Host", value);
    auto back = lumetra::ini::findValue(written, "FTP", "Host");
    if (!back || *back != value) std::abort();
    return 0;
}
