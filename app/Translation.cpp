#include "app/Translation.h"

#include "base/AnsiText.h"

#include <array>

namespace orbelin::translation {

namespace {
constexpr std::array<const char*, 14> kLanguageCodes = {"none", "EN", "ZH_CN", "ZH_TW", "NL", "FR", "DE",
                                                        "EL",   "IT", "JA",    "KO",    "PT", "RU", "ES"};
constexpr int kGlossaryCount = 21;
constexpr int kResultOffset = 125;
constexpr std::string_view kResultMarker = "\"wl_result\"";
constexpr std::string_view kResultEnd = "</textarea>";
} // namespace

std::string LanguageCode(int index)
{
    if (index < 0 || index >= static_cast<int>(kLanguageCodes.size()))
        return {};
    return kLanguageCodes[static_cast<size_t>(index)];
}

std::string GlossaryCode(int index)
{
    if (index < 0 || index >= kGlossaryCount)
        return {};
    return "gl" + std::to_string(index + 1);
}

std::string CheckCodes(const std::string& source, const std::string& target)
{
    if (source == "none")
        return "请选择原文语言！";
    if (target == "none")
        return "请选择译文语言！";
    if (source == target)
        return "原文语言和译文语言不能相同！";
    return {};
}

std::string GetHex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += '%';
        out += kDigits[b >> 4];
        out += kDigits[b & 0x0F];
    }
    return out;
}

std::string FormBody(const std::string& encodedText, const std::string& glossary, const std::string& source,
                     const std::string& target)
{
    return "wl_url=&wl_text=" + encodedText + "&wl_glossary=" + glossary + "&wl_srclang=" + source +
           "&wl_trglang=" + target + "&wl_ucp=1";
}

std::string ExtractResult(std::string_view page)
{
    const size_t marker = page.find(kResultMarker);
    const int p = marker == std::string_view::npos ? 0 : static_cast<int>(marker) + 1;
    const int start = p + kResultOffset;
    const size_t endAt = page.find(kResultEnd);
    const int e = endAt == std::string_view::npos ? 0 : static_cast<int>(endAt) + 1;
    return Copy(page, start, e - start);
}

std::u16string DecodeUtf8(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i++]);
        if (lead < 0x80) {
            out += static_cast<char16_t>(lead);
            continue;
        }
        // One continuation byte when bit 5 is clear, two when it is set; a
        // four-byte lead (11110xxx) takes three.
        const int follow = (lead & 0xF8) == 0xF0 ? 3 : (lead & 0x20) ? 2 : 1;
        uint32_t c = lead & (follow == 3 ? 0x07 : follow == 2 ? 0x0F : 0x1F);
        for (int k = 0; k < follow; ++k) {
            if (i >= bytes.size())
                return {};
            const auto next = static_cast<unsigned char>(bytes[i++]);
            if ((next & 0xC0) != 0x80)
                return {};
            c = (c << 6) | (next & 0x3F);
        }
        if (follow == 3 && c >= 0x10000 && c <= 0x10FFFF) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c & 0xFFFF);
        }
    }
    return out;
}

} // namespace orbelin::translation
