#include "UpstreamLanguages.h"

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
    const Json json = Json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_array()) {
        return std::nullopt;
    }
    UpstreamLanguages languages;
    std::set<std::string> everyCode;
    std::set<std::string> withoutTargets;
    for (const Json& entry : json) {
        if (!entry.is_object() || !entry.contains("code") || !entry["code"].is_string()) {
            continue;  // a stray entry does not spoil the others
        }
        const std::string& code = entry["code"].get_ref<const std::string&>();
        const std::string key = lowered(code);
        languages.spellings_[key] = code;  // a code's own entry spells it best
        everyCode.insert(key);
        std::set<std::string>& targets = languages.targets_[key];
        const auto found = entry.find("targets");
        if (found == entry.end() || !found->is_array()) {
            withoutTargets.insert(key);
            continue;
        }
        for (const Json& target : *found) {
            if (target.is_string()) {
                const std::string& targetCode = target.get_ref<const std::string&>();
                targets.insert(lowered(targetCode));
                languages.spellings_.emplace(lowered(targetCode), targetCode);
            }
        }
    }
    for (const std::string& key : withoutTargets) {
        languages.targets_[key] = everyCode;
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
    const auto found = targets_.find(sourceKey);
    return found != targets_.end() && found->second.contains(targetKey);
}

std::string UpstreamLanguages::spelling(const std::string& key) const
{
    const auto found = spellings_.find(key);
    return found == spellings_.end() ? key : found->second;
}

}  // namespace orbelin::service
