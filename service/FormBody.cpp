#include "FormBody.h"

namespace orbelin::service {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

}  // namespace

bool percentDecodeInPlace(std::string& text)
{
    std::size_t out = 0;
    for (std::size_t i = 0; i < text.size(); ++i, ++out) {
        const char c = text[i];
        if (c == '+') {
            text[out] = ' ';
        } else if (c == '%') {
            if (text.size() - i < 3) {
                return false;
            }
            const int high = hexValue(text[i + 1]);
            const int low = hexValue(text[i + 2]);
            if (high < 0 || low < 0) {
                return false;
            }
            text[out] = static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            text[out] = c;
        }
    }
    text.resize(out);
    return true;
}

std::optional<std::string> percentDecode(std::string_view text)
{
    std::string decoded(text);
    if (!percentDecodeInPlace(decoded)) {
        return std::nullopt;
    }
    return decoded;
}

std::vector<RawField> splitFormBody(std::string_view body)
{
    std::vector<RawField> fields;
    while (!body.empty()) {
        const std::size_t amp = body.find('&');
        const std::string_view piece = body.substr(0, amp);
        body = amp == std::string_view::npos ? std::string_view() : body.substr(amp + 1);
        if (piece.empty()) {
            continue;
        }
        const std::size_t eq = piece.find('=');
        fields.push_back({piece.substr(0, eq), eq == std::string_view::npos ? std::string_view() : piece.substr(eq + 1)});
    }
    return fields;
}

std::optional<FormFields> parseFormBody(std::string_view body)
{
    FormFields fields;
    for (const RawField& field : splitFormBody(body)) {
        auto name = percentDecode(field.name);
        auto value = percentDecode(field.value);
        if (!name || !value || !fields.emplace(std::move(*name), std::move(*value)).second) {
            return std::nullopt;
        }
    }
    return fields;
}

}  // namespace orbelin::service
