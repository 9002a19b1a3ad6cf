#include "UpstreamMessages.h"

#include "JsonLimits.h"

#include <nlohmann/json.hpp>

namespace orbelin::service {

namespace {

using Json = nlohmann::json;

constexpr std::size_t maxMessageBytes = 200;

std::size_t sequenceLength(unsigned char lead)
{
    if (lead < 0x80) return 1;
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    return 2;
}

// Whole characters only, so the cut leaves valid UTF-8.
std::string cutToCharacters(std::string text, std::size_t limit)
{
    if (text.size() <= limit) {
        return text;
    }
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + sequenceLength(static_cast<unsigned char>(text[end]));
        if (next > limit) {
            break;
        }
        end = next;
    }
    text.resize(end);
    return text + "…";
}

}  // namespace

std::string translateRequestJson(std::string_view text, std::string_view source,
                                 std::string_view target, std::string_view apiKey)
{
    Json body = {{"q", text}, {"source", source}, {"target", target}, {"format", "text"}};
    if (!apiKey.empty()) {
        body["api_key"] = apiKey;
    }
    return body.dump();
}

std::size_t answerLimitFor(std::size_t textBytes)
{
    return 16 * 1024 + 12 * textBytes;
}

TranslateAnswer readTranslateAnswer(int status, std::string_view body)
{
    switch (status) {
    case 200: break;
    case 403: return {AnswerKind::keyRefused, errorMessageOf(body)};
    case 429: return {AnswerKind::rateLimited, errorMessageOf(body)};
    default: return {AnswerKind::failed, errorMessageOf(body)};
    }
    const Json json = nestingWithin(body) ? Json::parse(body, nullptr, false) : Json(Json::value_t::discarded);
    if (json.is_discarded() || !json.is_object()) {
        return {AnswerKind::badAnswer, {}};
    }
    const auto found = json.find("translatedText");
    if (found == json.end() || !found->is_string()) {
        return {AnswerKind::badAnswer, {}};
    }
    return {AnswerKind::translated, textForClient(found->get_ref<const std::string&>())};
}

std::string errorMessageOf(std::string_view body)
{
    if (!nestingWithin(body)) {
        return {};
    }
    const Json json = Json::parse(body, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        return {};
    }
    const auto found = json.find("error");
    if (found == json.end() || !found->is_string()) {
        return {};
    }
    std::string line = textForClient(found->get_ref<const std::string&>());
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';  // one line inside a sentence
        }
    }
    return cutToCharacters(std::move(line), maxMessageBytes);
}

std::string textForClient(std::string_view utf8)
{
    std::string text(utf8);
    std::erase(text, '\0');
    return text;
}

}  // namespace orbelin::service
