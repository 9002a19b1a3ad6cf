// The HTML pages the service answers with.
//
// The client finds the first "\"wl_result\"" (quotes included), starts the
// translation 125 bytes after that opening quote, and ends it right before
// the first "</textarea>" of the whole page. The result page is laid out for
// exactly that cut.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orbelin::service {

inline constexpr std::string_view resultMarker = "\"wl_result\"";
inline constexpr std::size_t resultOffset = 125;
inline constexpr std::string_view resultEnd = "</textarea>";

// The page around a translation (or a sentence about why there is none).
std::string resultPage(std::string_view text);

// "</textarea" in any letter case becomes "<\/textarea", so the text cannot end
// the result early; nothing else is escaped.
std::string breakTextareaEnds(std::string_view text);

// A page for 4xx answers; status and message are not taken from the request.
std::string errorPage(int status, std::string_view title, std::string_view message);

}  // namespace orbelin::service
