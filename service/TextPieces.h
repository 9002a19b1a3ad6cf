// Long texts cut into pieces that take turns in an engine with the pieces of
// other requests, so that no request waits behind another's whole text.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace orbelin::service {

// Pieces of at most limit bytes (limit >= 4) whose concatenation is the
// text. A cut goes, where the last half of a piece offers one, after a
// paragraph break, else after a line end, else after a sentence end and the
// blank after it, else after a blank; failing all, between two UTF-8
// characters. Blanks stay with the piece they follow.
std::vector<std::string_view> splitIntoPieces(std::string_view text, std::size_t limit);

}  // namespace orbelin::service
