#include "Languages.h"

#include <array>

namespace orbelin::service {

namespace {

struct LanguageEntry {
    Language language;
    std::string_view code;
    std::string_view chineseName;
};

constexpr std::array<LanguageEntry, 13> entries{{
    {Language::en, "EN", "英语"},
    {Language::zhCn, "ZH_CN", "简体中文"},
    {Language::zhTw, "ZH_TW", "繁体中文"},
    {Language::nl, "NL", "荷兰语"},
    {Language::fr, "FR", "法语"},
    {Language::de, "DE", "德语"},
    {Language::el, "EL", "希腊语"},
    {Language::it, "IT", "意大利语"},
    {Language::ja, "JA", "日本语"},
    {Language::ko, "KO", "韩国语"},
    {Language::pt, "PT", "葡萄牙语(巴西)"},
    {Language::ru, "RU", "俄语"},
    {Language::es, "ES", "西班牙语"},
}};

const LanguageEntry& entryOf(Language language)
{
    for (const LanguageEntry& entry : entries) {
        if (entry.language == language) {
            return entry;
        }
    }
    return entries.front();  // unreachable: every enumerator has an entry
}

}  // namespace

std::optional<Language> languageFromCode(std::string_view code)
{
    for (const LanguageEntry& entry : entries) {
        if (entry.code == code) {
            return entry.language;
        }
    }
    return std::nullopt;
}

std::string_view codeOf(Language language)
{
    return entryOf(language).code;
}

std::string_view chineseName(Language language)
{
    return entryOf(language).chineseName;
}

}  // namespace orbelin::service
