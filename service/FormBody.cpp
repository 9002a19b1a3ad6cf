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

std::optional<std::string> percentDecode(std::string_view text)
{
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            decoded.push_back(' ');
        } else if (c == '%') {
            if (text.size() - i < 3) {
                return std::nullopt;
            }
            const int high = hexValue(text[i + 1]);
            const int low = hexValue(text[i + 2]);
            if (high < 0 || low < 0) {
                return std::nullopt;
            }
            decoded.push_back(static_cast<char>(high * 16 + low));
            i += 2;
        } else {
            decoded.push_back(c);
        }
    }
    return decoded;
}

std::optional<FormFields> parseFormBody(std::string_view body)
{
    FormFields fields;
    while (!body.empty()) {
        const std::size_t amp = body.find('&');
        const std::string_view piece = body.substr(0, amp);
        body = amp == std::string_view::npos ? std::string_view() : body.substr(amp + 1);
        if (piece.empty()) {
            continue;
        }
        const std::size_t eq = piece.find('=');
        auto name = percentDecode(piece.substr(0, eq));
        auto value = percentDecode(eq == std::string_view::npos ? std::string_view()
                                                                : piece.substr(eq + 1));
        if (!name || !value) {
            return std::nullopt;
        }
        if (!fields.emplace(std::move(*name), std::move(*value)).second) {
            return std::nullopt;
        }
    }
    return fields;
}

}  // namespace orbelin::service
