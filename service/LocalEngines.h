// The engines of this machine: Apertium for the European languages (through
// Spanish where a pair has no mode of its own) and OpenCC between Simplified
// and Traditional Chinese.
#pragma once

#include "ApertiumEngine.h"
#include "ChineseConverter.h"
#include "Deadline.h"
#include "Translation.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace orbelin::service {

struct LocalEnginesConfig {
    std::filesystem::path apertiumModes = "/usr/share/apertium/modes";
    std::string simplifiedToTraditional = "s2tw.json";
    std::string traditionalToSimplified = "tw2s.json";
};

class LocalEngines {
public:
    explicit LocalEngines(const LocalEnginesConfig& config);

    bool serves(Language source, Language target) const;
    // A failure becomes its sentence; a pair not served, the unsupported one.
    Translation translate(Language source, Language target, std::string_view text, Deadline deadline);
    // Makes translations in progress fail at once, and every later one.
    void abort() noexcept;

private:
    ApertiumEngine apertium_;
    ChineseConverter toTraditional_;
    ChineseConverter toSimplified_;
};

}  // namespace orbelin::service
