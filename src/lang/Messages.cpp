#include "lang/Messages.h"

#include <stdexcept>

#include "lang/Language.h"
#include "lang/Placeholders.h"

namespace lumetra {

namespace {

std::size_t NumberedTokens(lang::Tokens tokens) {
    return std::size_t((tokens & lang::kToken1) != 0) + ((tokens & lang::kToken2) != 0) +
           ((tokens & lang::kToken3) != 0);
}

}  // namespace

std::string MessageText(Language& language, const lang::LangKey& key,
                        std::initializer_list<std::string_view> values) {
    if (values.size() != NumberedTokens(key.tokens))
        throw std::logic_error("message " + std::string(key.section) + "/" + std::string(key.key) +
                               " takes " + std::to_string(NumberedTokens(key.tokens)) +
                               " values, not " + std::to_string(values.size()));
    const std::string text = lang::GetLangString(language, key);
    const std::string_view* value = values.begin();
    const auto next = [&]() -> std::string_view {
        return value != values.end() ? *value++ : std::string_view{};
    };
    const std::string_view v1 = key.tokens & lang::kToken1 ? next() : "";
    const std::string_view v2 = key.tokens & lang::kToken2 ? next() : "";
    const std::string_view v3 = key.tokens & lang::kToken3 ? next() : "";
    const std::string_view lineBreak = key.tokens & lang::kTokenBreak ? kLineBreak : "%br%";
    return ReplacePlaceholders(text, {{"%br%", lineBreak},
                                      {"%1%", key.tokens & lang::kToken1 ? v1 : "%1%"},
                                      {"%2%", key.tokens & lang::kToken2 ? v2 : "%2%"},
                                      {"%3%", key.tokens & lang::kToken3 ? v3 : "%3%"}});
}

int ShowMessage(Language& language, const lang::LangKey& key, int flags,
                std::initializer_list<std::string_view> values) {
    return MsgBox(language, MessageText(language, key, values), flags);
}

}  // namespace lumetra
