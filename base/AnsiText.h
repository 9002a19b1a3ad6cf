#pragma once
// ANSI strings are std::string holding bytes of code page 936 (GBK). Positions
// handed to and returned by these helpers are 1-based; 0 means "not found".

#include <cstdint>
#include <string>
#include <string_view>

namespace orbelin {

using AnsiString = std::string;

// Code page 936 starts a double-byte character with 0x81..0xFE.
constexpr bool IsLeadByte(unsigned char c) noexcept { return c >= 0x81 && c <= 0xFE; }

// First occurrence of sub in text, never starting on a trail byte.
int PosFirst(std::string_view sub, std::string_view text) noexcept;
// Last occurrence starting at or before upTo (-1: whole text), case-insensitive.
int PosLast(std::string_view sub, std::string_view text, int upTo = -1) noexcept;
// Returns the part before the first delimiter and leaves the rest in text;
// without a delimiter returns all of text and empties it.
std::string SplitOff(std::string& text, std::string_view delimiter);

// count bytes from the 1-based index; parts out of range are clipped.
std::string Copy(std::string_view text, int index, int count);

std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b) noexcept;
int CompareText(std::string_view a, std::string_view b) noexcept;
bool StartsText(std::string_view prefix, std::string_view text) noexcept;

std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

std::string IntToStr(int64_t value);
// Decimal (optionally signed, optional "$"/"0x" hex) integer; raises EConvertError.
int StrToInt(std::string_view text);
int64_t StrToInt64(std::string_view text);
int StrToIntDef(std::string_view text, int fallback) noexcept;
int64_t StrToInt64Def(std::string_view text, int64_t fallback) noexcept;
bool TryStrToInt64(std::string_view text, int64_t& value) noexcept;

// Every lone CR or LF becomes CR LF; existing CR LF pairs are kept.
std::string AdjustLineBreaks(std::string_view text);

} // namespace orbelin
