// What a self-hosted translation server offers (its answer to GET /languages)
// and which of its codes stand for the client's languages.
#pragma once

#include "Languages.h"

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>

namespace orbelin::service {

// The upstream's own spelling of both codes, as its list gives them.
struct UpstreamPair {
    std::string source;
    std::string target;
};

class UpstreamLanguages {
public:
    static constexpr std::size_t maxListBytes = 1024 * 1024;
    static constexpr std::size_t maxEntries = 10'000;

    // The list: [{"code": "en", "name": "English", "targets": ["de", ...]}, ...].
    // An entry without "targets" (older servers) reaches every listed code.
    // Only the codes that may stand for a client's language are kept, so the
    // list takes the same room however long it is. Empty when the text is
    // not such a list, is larger than maxListBytes, nests deeper than JSON
    // from the server may, or has more than maxEntries entries.
    static std::optional<UpstreamLanguages> parse(std::string_view json);

    // The codes for a pair the upstream translates directly, the client's
    // preferred spelling first ("zh-Hans" before "zh").
    std::optional<UpstreamPair> pair(Language source, Language target) const;

    bool translates(Language source, Language target) const { return pair(source, target).has_value(); }

private:
    struct Entry {
        bool everyCode = false;         // no "targets": every listed code
        std::set<std::string> targets;  // keys
    };

    bool hasTarget(const std::string& sourceKey, const std::string& targetKey) const;
    std::string spelling(const std::string& key) const;

    // Keys are lower case: servers differ in the case of "zh-Hans" and "pt-BR".
    std::map<std::string, Entry> entries_;
    std::map<std::string, std::string> spellings_;
};

// The upstream codes that may stand for a language, most specific first.
std::span<const std::string_view> upstreamCodesFor(Language language);

}  // namespace orbelin::service
