// The fields of one translate request, checked.
#pragma once

#include "Languages.h"

#include <string>
#include <string_view>
#include <variant>

namespace orbelin::service {

struct TranslateRequest {
    std::string text;  // UTF-8
    Language source = Language::en;
    Language target = Language::en;
    std::string glossary;  // "gl1".."gl21"; accepted, not used by the engines
};

struct BadRequest {
    std::string reason;  // Chinese, shown on the 400 page
};

// Needs wl_text (valid UTF-8), wl_srclang and wl_trglang with known codes;
// wl_url, wl_glossary and wl_ucp are optional and other fields are ignored.
std::variant<TranslateRequest, BadRequest> readTranslateRequest(std::string_view body);

bool isValidUtf8(std::string_view text);

}  // namespace orbelin::service
