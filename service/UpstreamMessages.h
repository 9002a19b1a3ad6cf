// The JSON the self-hosted translation server speaks: the body of
// POST /translate and what comes back.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orbelin::service {

// {"q": text, "source": ..., "target": ..., "format": "text"} and
// "api_key" when there is a key.
std::string translateRequestJson(std::string_view text, std::string_view source,
                                 std::string_view target, std::string_view apiKey);

enum class AnswerKind {
    translated,   // text: the translation
    keyRefused,   // 403
    rateLimited,  // 429
    failed,       // another status; text: the server's own message, may be empty
    badAnswer,    // 200 without the expected JSON
};

struct TranslateAnswer {
    AnswerKind kind = AnswerKind::badAnswer;
    std::string text;
};

// The bytes of an answer's body read at most for a request text of that
// size: a translation seldom runs past twice its source, and JSON escapes
// ("\u00fc") may take six bytes for one.
std::size_t answerLimitFor(std::size_t textBytes);

// text must be valid UTF-8: it becomes the request's "q". A body nested
// deeper than JSON from the server may is not the expected JSON.
TranslateAnswer readTranslateAnswer(int status, std::string_view body);

// The "error" of an {"error": "..."} body, cut to a short line; empty when
// the body is something else.
std::string errorMessageOf(std::string_view body);

// What the client can show: a NUL would end its text early. Characters
// beyond the Basic Multilingual Plane pass (the client decodes them).
std::string textForClient(std::string_view utf8);

}  // namespace orbelin::service
