// Code-page conversion for the native build: code page 936 through iconv.
#include "base/Charset.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace orbelin {

namespace {

// Converts one unit at a time when the whole run fails, so that a character
// the target lacks becomes '?' instead of ending the conversion.
class TIconv {
public:
    TIconv(const char* to, const char* from) : FHandle(iconv_open(to, from)) {}
    ~TIconv()
    {
        if (FHandle != reinterpret_cast<iconv_t>(-1))
            iconv_close(FHandle);
    }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;

    // Converts in; on an invalid or unconvertible sequence skips unitSize input
    // bytes and writes fallback.
    std::string Convert(std::string_view in, size_t unitSize, std::string_view fallback)
    {
        std::string out;
        if (FHandle == reinterpret_cast<iconv_t>(-1))
            return out;
        char buffer[4096];
        auto* src = const_cast<char*>(in.data());
        size_t left = in.size();
        while (left > 0) {
            char* dst = buffer;
            size_t room = sizeof(buffer);
            const size_t r = iconv(FHandle, &src, &left, &dst, &room);
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (r == static_cast<size_t>(-1) && errno != E2BIG) {
                const size_t skip = std::min(unitSize, left);
                src += skip;
                left -= skip;
                out += fallback;
                iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    iconv_t FHandle;
};

} // namespace

std::u16string AnsiToUtf16(std::string_view ansi)
{
    TIconv cd("UTF-16LE", "CP936");
    const std::string bytes = cd.Convert(ansi, 1, std::string("\x3F\x00", 2));
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return out;
}

std::string Utf16ToAnsi(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t c : FoldSupplementary(text)) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    TIconv cd("CP936", "UTF-16LE");
    return cd.Convert(bytes, 2, "?");
}

} // namespace orbelin
