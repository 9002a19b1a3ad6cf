// The language codes the client sends and their names in the client's lists.
#pragma once

#include <optional>
#include <string_view>

namespace orbelin::service {

enum class Language { en, zhCn, zhTw, nl, fr, de, el, it, ja, ko, pt, ru, es };

std::optional<Language> languageFromCode(std::string_view code);  // exact, upper case
std::string_view codeOf(Language language);

// The name as a Chinese sentence uses it ("英语" where the list shows "English").
std::string_view chineseName(Language language);

}  // namespace orbelin::service
