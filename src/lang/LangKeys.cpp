#include "lang/LangKeys.h"

namespace lumetra::lang {

Tokens TokensIn(std::string_view text) {
    Tokens found = kNoTokens;
    for (const auto& token : kTokens)
        if (text.find(token.text) != std::string_view::npos) found |= token.bit;
    return found;
}

}  // namespace lumetra::lang
