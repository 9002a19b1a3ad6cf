#pragma once
// The translation service's side of the translate command: list codes, the
// checks, the form body and the cut of the result out of the answer page.

#include <string>
#include <string_view>

namespace orbelin::translation {

// Index of a language list's selection → the service's code: 0 "none",
// 1 "EN" ... 13 "ES"; outside the table (no selection) an empty code.
std::string LanguageCode(int index);
// Index of the subject-domain list → "gl1" ... "gl21"; outside, empty.
std::string GlossaryCode(int index);

// The first failed check's message, or empty when the codes may be sent.
std::string CheckCodes(const std::string& source, const std::string& target);

// "%" and two upper-case hexadecimal digits for every byte.
std::string GetHex(std::string_view bytes);

// The form body in its fixed field order, from already encoded text.
std::string FormBody(const std::string& encodedText, const std::string& glossary, const std::string& source,
                     const std::string& target);

// The translation cut out of the page: from 125 bytes after the first byte of
// the "wl_result" marker (quotes included) up to the first "</textarea>" of
// the whole page.
std::string ExtractResult(std::string_view page);

// UTF-8 to UTF-16 by the service's rules; any malformed sequence makes the
// whole result empty. A four-byte sequence is one character (a surrogate pair).
std::u16string DecodeUtf8(std::string_view bytes);

} // namespace orbelin::translation
