#include "publish/SyncText.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <locale>

#include "lang/LangKeys.h"
#include "lang/Messages.h"

namespace lumetra::publish {

std::string MegabytesText(std::int64_t bytes, char decimalPoint) {
    const double megabytes = static_cast<double>(bytes) / 1048576.0;
    const double rounded = std::trunc(megabytes / 0.01 + 0.5) * 0.01;
    char text[64];
    // Fifteen digits, as a general float format gives them: 0.29 stays 0.29.
    std::snprintf(text, sizeof text, "%.15g", rounded);
    std::string out = text;
    for (char& c : out)
        if (c == '.') c = decimalPoint;
    return out;
}

int HeldPercent(std::int64_t total, std::int64_t same) {
    if (total <= 0 || same <= 0) return 0;
    const double share = 100.0 / (static_cast<double>(total) / static_cast<double>(same));
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(share);
    std::fesetround(previous);
    return static_cast<int>(rounded);
}

char LocaleDecimalPoint() {
    try {
        return std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point();
    } catch (const std::exception&) {
        return '.';
    }
}

std::string SyncPageText(Language& language, std::int64_t total, std::int64_t same,
                         char decimalPoint) {
    const std::string totalText = MegabytesText(total, decimalPoint);
    const std::string sameText = MegabytesText(same, decimalPoint);
    const std::string percent = std::to_string(HeldPercent(total, same));
    return MessageText(language, lang::frmFTP::kLblSyncTrue, {totalText, sameText, percent});
}

}  // namespace lumetra::publish
