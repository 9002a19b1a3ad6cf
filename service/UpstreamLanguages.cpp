#include "UpstreamLanguages.h"

#include "JsonLimits.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <nlohmann/json.hpp>

namespace orbelin::service {

namespace {

using Json = nlohmann::json;

std::string lowered(std::string_view code)
{
    std::string key(code);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}

struct CodeChoices {
    Language language;
    std::array<std::string_view, 3> codes;  // empty entries unused
};

// "葡萄牙语(巴西)" is Brazilian Portuguese: a server that tells it apart gets
// that code. Traditional Chinese is "zt" on older servers.
constexpr std::array<CodeChoices, 13> choices{{
    {Language::en, {"en"}},
    {Language::zhCn, {"zh-Hans", "zh", "zh-CN"}},
    {Language::zhTw, {"zh-Hant", "zt", "zh-TW"}},
    {Language::nl, {"nl"}},
    {Language::fr, {"fr"}},
    {Language::de, {"de"}},
    {Language::el, {"el"}},
    {Language::it, {"it"}},
    {Language::ja, {"ja"}},
    {Language::ko, {"ko"}},
    {Language::pt, {"pt-BR", "pb", "pt"}},
    {Language::ru, {"ru"}},
    {Language::es, {"es"}},
}};

// Whether a lower-case code may stand for one of the client's languages.
bool isClientCode(std::string_view key)
{
    for (const CodeChoices& choice : choices) {
        for (const std::string_view code : choice.codes) {
            if (!code.empty() && lowered(code) == key) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

std::span<const std::string_view> upstreamCodesFor(Language language)
{
    for (const CodeChoices& choice : choices) {
        if (choice.language == language) {
            const auto used = std::find(choice.codes.begin(), choice.codes.end(), std::string_view{});
            return {choice.codes.begin(), used};
        }
    }
    return {};
}

std::optional<UpstreamLanguages> UpstreamLanguages::parse(std::string_view text)
{
    if (text.size() > maxListBytes || !nestingWithin(text)) {
        return std::nullopt;
    }
    const Json json = Json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_array() || json.size() > maxEntries) {
        return std::nullopt;
    }
    UpstreamLanguages languages;
    const auto keep = [&languages](const std::string& code) {
        const std::string key = lowered(code);
        if (!isClientCode(key)) {
            return std::string();
        }
        languages.spellings_.emplace(key, code);
        return key;
    };
    for (const Json& entry : json) {
        if (!entry.is_object() || !entry.contains("code") || !entry["code"].is_string()) {
            continue;  // a stray entry does not spoil the others
        }
        const std::string& code = entry["code"].get_ref<const std::string&>();
        const std::string key = lowered(code);
        if (!isClientCode(key)) {
            continue;
        }
        languages.spellings_[key] = code;  // a code's own entry spells it best
        Entry& kept = languages.entries_[key];
        const auto found = entry.find("targets");
        if (found == entry.end() || !found->is_array()) {
            kept.everyCode = true;
            continue;
        }
        for (const Json& target : *found) {
            if (target.is_string()) {
                if (std::string targetKey = keep(target.get_ref<const std::string&>()); !targetKey.empty()) {
                    kept.targets.insert(std::move(targetKey));
                }
            }
        }
    }
    return languages;
}

std::optional<UpstreamPair> UpstreamLanguages::pair(Language source, Language target) const
{
    for (const std::string_view sourceCode : upstreamCodesFor(source)) {
        for (const std::string_view targetCode : upstreamCodesFor(target)) {
            const std::string sourceKey = lowered(sourceCode);
            const std::string targetKey = lowered(targetCode);
            if (sourceKey != targetKey && hasTarget(sourceKey, targetKey)) {
                return UpstreamPair{spelling(sourceKey), spelling(targetKey)};
            }
        }
    }
    return std::nullopt;
}

bool UpstreamLanguages::hasTarget(const std::string& sourceKey, const std::string& targetKey) const
{
    const auto found = entries_.find(sourceKey);
    if (found == entries_.end()) {
        return false;
    }
    return found->second.everyCode ? entries_.contains(targetKey) : found->second.targets.contains(targetKey);
}

std::string UpstreamLanguages::spelling(const std::string& key) const
{
    const auto found = spellings_.find(key);
    return found == spellings_.end() ? key : found->second;
}

}  // namespace orbelin::service
