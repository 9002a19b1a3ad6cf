#include "skin/data/SkinStreamText.h"

#include <algorithm>

namespace orbelin {

std::vector<uint8_t> SkinStreamPropertyBytes(std::string_view packedSkin)
{
    const uint32_t length = static_cast<uint32_t>(packedSkin.size());
    std::vector<uint8_t> bytes(4 + packedSkin.size());
    for (size_t i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(length >> (8 * i));
    std::copy(packedSkin.begin(), packedSkin.end(), bytes.begin() + 4);
    return bytes;
}

std::string SkinStreamPropertyText(std::string_view packedSkin, int indent)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    constexpr size_t BytesPerLine = 32;
    const std::vector<uint8_t> bytes = SkinStreamPropertyBytes(packedSkin);
    const std::string lead(static_cast<size_t>(indent), ' ');
    std::string text = lead + "SkinStream = {\r\n";
    for (size_t i = 0; i < bytes.size(); i += BytesPerLine) {
        text += lead + "  ";
        for (size_t k = i; k < bytes.size() && k < i + BytesPerLine; ++k) {
            text += Hex[bytes[k] >> 4];
            text += Hex[bytes[k] & 0xF];
        }
        if (i + BytesPerLine >= bytes.size())
            text += '}';
        text += "\r\n";
    }
    return text;
}

} // namespace orbelin
