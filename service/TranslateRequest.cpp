#include "TranslateRequest.h"

#include "FormBody.h"

#include <optional>

namespace orbelin::service {

namespace {

std::variant<Language, BadRequest> languageField(const FormFields& fields, std::string_view name)
{
    const auto found = fields.find(name);
    if (found == fields.end()) {
        return BadRequest{"缺少字段 " + std::string(name) + "。"};
    }
    if (const std::optional<Language> language = languageFromCode(found->second)) {
        return *language;
    }
    return BadRequest{"字段 " + std::string(name) + " 的语言代码无法识别。"};
}

}  // namespace

std::variant<TranslateRequest, BadRequest> readTranslateRequest(std::string body)
{
    const BadRequest malformed{"请求正文的格式不正确（百分号编码有误或字段重复）。"};
    // The other fields are short and decoded as copies; the text is decoded
    // where it lies, and the body becomes it, so that a long text is held
    // once.
    FormFields fields;
    std::optional<RawField> rawText;
    for (const RawField& field : splitFormBody(body)) {
        std::optional<std::string> name = percentDecode(field.name);
        const bool isText = name == "wl_text";
        std::optional<std::string> value = isText ? std::string() : percentDecode(field.value);
        if (!name || !value || !fields.emplace(std::move(*name), std::move(*value)).second) {
            return malformed;
        }
        if (isText) {
            rawText = field;
        }
    }
    if (rawText) {
        const std::size_t offset = static_cast<std::size_t>(rawText->value.data() - body.data());
        const std::size_t length = rawText->value.size();
        body.erase(0, offset);
        body.resize(length);
        if (!percentDecodeInPlace(body)) {
            return malformed;
        }
    }
    if (!rawText) {
        return BadRequest{"缺少字段 wl_text。"};
    }
    if (!isValidUtf8(body)) {
        return BadRequest{"字段 wl_text 不是有效的 UTF-8 文本。"};
    }
    TranslateRequest request;
    if (body.size() < body.capacity() / 2) {
        body.shrink_to_fit();
    }
    request.text = std::move(body);

    auto source = languageField(fields, "wl_srclang");
    if (auto* bad = std::get_if<BadRequest>(&source)) {
        return std::move(*bad);
    }
    auto target = languageField(fields, "wl_trglang");
    if (auto* bad = std::get_if<BadRequest>(&target)) {
        return std::move(*bad);
    }
    request.source = std::get<Language>(source);
    request.target = std::get<Language>(target);

    if (const auto glossary = fields.find("wl_glossary"); glossary != fields.end()) {
        request.glossary = glossary->second;
    }
    return request;
}

std::string textTooLongSentence()
{
    // The client sends every byte of the text as three characters, in a body
    // whose other fields take at most this much.
    constexpr std::size_t otherFields = sizeof("wl_url=&wl_text=&wl_glossary=gl21&wl_srclang=ZH_CN&wl_trglang=ZH_TW&wl_ucp=1") - 1;
    constexpr std::size_t textBytes = (maxBodyBytes - otherFields) / 3;
    return "抱歉，原文太长，无法翻译：本服务接受的请求最多 " + std::to_string(maxBodyBytes) +
           " 字节（1 MiB），客户端把原文的每个字节写成三个字符，所以原文最多约 " + std::to_string(textBytes) +
           " 字节（约 " + std::to_string(textBytes / 3) + " 个汉字）。请分段翻译。";
}

std::string requestNotUnderstoodSentence(std::string_view reason)
{
    return "抱歉，服务没有看懂这个翻译请求：" + std::string(reason);
}

bool isValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t value = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            value = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            value = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            value = lead & 0x07u;
        } else {
            return false;
        }
        if (text.size() - i < length) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0u) != 0x80u) {
                return false;
            }
            value = (value << 6) | (next & 0x3Fu);
        }
        const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
        const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
        if (overlong || surrogate || value > 0x10FFFF) {
            return false;
        }
        i += length;
    }
    return true;
}

}  // namespace orbelin::service
