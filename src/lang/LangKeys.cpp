#include "lang/LangKeys.h"

#include "lang/Language.h"

namespace lumetra::lang {

Tokens TokensIn(std::string_view text) {
    Tokens found = kNoTokens;
    for (const auto& token : kTokens)
        if (text.find(token.text) != std::string_view::npos) found |= token.bit;
    return found;
}

std::string GetLangString(Language& language, const LangKey& key) {
    return language.GetLangString(std::string(key.section), std::string(key.key));
}

}  // namespace lumetra::lang
