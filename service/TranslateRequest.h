// The fields of one translate request, checked.
#pragma once

#include "Languages.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace orbelin::service {

inline constexpr std::size_t maxBodyBytes = 1024 * 1024;

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
// The body is consumed: the text is decoded in its place.
std::variant<TranslateRequest, BadRequest> readTranslateRequest(std::string body);

bool isValidUtf8(std::string_view text);

// What the result page says instead of a translation when the request is
// too large, or cannot be read (reason: a BadRequest's).
std::string textTooLongSentence();
std::string requestNotUnderstoodSentence(std::string_view reason);

}  // namespace orbelin::service
