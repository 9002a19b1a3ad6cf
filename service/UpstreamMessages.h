// The JSON the self-hosted translation server speaks: the body of
// POST /translate and what comes back.
#pragma once

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

// text must be valid UTF-8: it becomes the request's "q".
TranslateAnswer readTranslateAnswer(int status, std::string_view body);

// The "error" of an {"error": "..."} body, cut to a short line; empty when
// the body is something else.
std::string errorMessageOf(std::string_view body);

// What the client can show: its decoder knows one- to three-byte UTF-8
// only (a longer sequence would empty the whole result), and a NUL would
// end its text early.
std::string textForClient(std::string_view utf8);

}  // namespace orbelin::service
