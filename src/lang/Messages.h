#pragma once
// One way to word and show a message: a key from LangKeys.h, the values of
// its numbered placeholders in order, and "%br%" turned into a line break.
// The values must match the key's placeholders, so a message can never reach
// the user with a raw "%1%" or a value silently dropped.

#include <initializer_list>
#include <string>
#include <string_view>

#include "lang/LangKeys.h"

namespace lumetra {

class Language;

// The text of key with "%1%", "%2%", "%3%" replaced by values (in this order)
// and "%br%" by kLineBreak, in one pass. Throws std::logic_error when the
// number of values differs from the key's numbered placeholders.
std::string MessageText(Language& language, const lang::LangKey& key,
                        std::initializer_list<std::string_view> values = {});

// MessageText in a message box with the caption GUI/Title; returns the button.
int ShowMessage(Language& language, const lang::LangKey& key, int flags,
                std::initializer_list<std::string_view> values = {});

}  // namespace lumetra
