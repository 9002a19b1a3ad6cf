#include "base/AnsiText.h"

#include "base/Exceptions.h"
#include "base/Format.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace orbelin {

namespace {

char AsciiUpper(char c) noexcept { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char AsciiLower(char c) noexcept { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool EqualNoCase(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}

bool IsBlank(char c) noexcept { return static_cast<unsigned char>(c) <= ' '; }

} // namespace

int PosFirst(std::string_view sub, std::string_view text) noexcept
{
    if (sub.empty() || sub.size() > text.size())
        return 0;
    size_t i = 0;
    while (i + sub.size() <= text.size()) {
        if (text.compare(i, sub.size(), sub) == 0)
            return static_cast<int>(i) + 1;
        i += IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    return 0;
}

int PosLast(std::string_view sub, std::string_view text, int upTo) noexcept
{
    if (sub.empty() || sub.size() > text.size())
        return 0;
    size_t last = text.size() - sub.size();
    if (upTo >= 0) {
        if (upTo == 0)
            return 0;
        last = std::min(last, static_cast<size_t>(upTo - 1));
    }
    for (size_t i = last + 1; i-- > 0;)
        if (EqualNoCase(text.substr(i, sub.size()), sub))
            return static_cast<int>(i) + 1;
    return 0;
}

std::string SplitOff(std::string& text, std::string_view delimiter)
{
    const int at = PosFirst(delimiter, text);
    if (at == 0) {
        std::string all = std::move(text);
        text.clear();
        return all;
    }
    std::string head = text.substr(0, static_cast<size_t>(at - 1));
    text.erase(0, static_cast<size_t>(at - 1) + delimiter.size());
    return head;
}

std::string Copy(std::string_view text, int index, int count)
{
    if (index < 1)
        index = 1;
    if (count <= 0 || static_cast<size_t>(index) > text.size())
        return {};
    return std::string(text.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count)));
}

std::string UpperCase(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), AsciiUpper);
    return out;
}

std::string LowerCase(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), AsciiLower);
    return out;
}

bool SameText(std::string_view a, std::string_view b) noexcept { return EqualNoCase(a, b); }

int CompareText(std::string_view a, std::string_view b) noexcept
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(AsciiUpper(a[i]));
        const auto cb = static_cast<unsigned char>(AsciiUpper(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool StartsText(std::string_view prefix, std::string_view text) noexcept
{
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

std::string TrimLeft(std::string_view text)
{
    size_t b = 0;
    while (b < text.size() && IsBlank(text[b]))
        ++b;
    return std::string(text.substr(b));
}

std::string TrimRight(std::string_view text)
{
    size_t e = text.size();
    while (e > 0 && IsBlank(text[e - 1]))
        --e;
    return std::string(text.substr(0, e));
}

std::string Trim(std::string_view text) { return TrimLeft(TrimRight(text)); }

std::string IntToStr(int64_t value) { return std::to_string(value); }

bool TryStrToInt64(std::string_view text, int64_t& value) noexcept
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    unsigned base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return false;
    uint64_t acc = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        unsigned d;
        if (c >= '0' && c <= '9')
            d = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = static_cast<unsigned>(c - 'A' + 10);
        else
            return false;
        if (acc > (std::numeric_limits<uint64_t>::max() - d) / base)
            return false;
        acc = acc * base + d;
    }
    const uint64_t limit = negative ? uint64_t{1} << 63 : static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    if (base == 10 && acc > limit)
        return false;
    value = negative ? static_cast<int64_t>(0 - acc) : static_cast<int64_t>(acc);
    return true;
}

int64_t StrToInt64(std::string_view text)
{
    int64_t v = 0;
    if (!TryStrToInt64(text, v))
        throw EConvertError(Format(SInvalidInteger, std::string(text).c_str()));
    return v;
}

int StrToInt(std::string_view text)
{
    const int64_t v = StrToInt64(text);
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        throw EConvertError(Format(SInvalidInteger, std::string(text).c_str()));
    return static_cast<int>(v);
}

int64_t StrToInt64Def(std::string_view text, int64_t fallback) noexcept
{
    int64_t v = 0;
    return TryStrToInt64(text, v) ? v : fallback;
}

int StrToIntDef(std::string_view text, int fallback) noexcept
{
    const int64_t v = StrToInt64Def(text, fallback);
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return fallback;
    return static_cast<int>(v);
}

std::string AdjustLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace orbelin
