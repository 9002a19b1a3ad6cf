// Plain text in and out of Apertium's stream format, converted here the way
// apertium-destxt and apertium-retxt convert it: starting those programs for
// every request took longer than the translation itself.
#pragma once

#include <string>
#include <string_view>

namespace orbelin::service {

// Escapes Apertium's special characters, puts runs of blanks into
// superblanks ("[\n\n]"; a single space stays as it is), and ends the text
// and every paragraph (a blank line) with an empty sentence end (".[]").
// The text must be valid UTF-8 without NUL bytes.
std::string deformatText(std::string_view text);

// The reverse for the pipeline's output: superblanks lose their brackets,
// sentence ends vanish, escapes are resolved. A block kept in a file
// ("[@name]") is never produced by deformatText, and no file is opened here.
std::string reformatText(std::string_view stream);

}  // namespace orbelin::service
