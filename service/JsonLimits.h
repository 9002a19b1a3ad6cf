// Bounds checked on JSON from the upstream server before it is parsed: a
// parser builds a node for every bracket, so eight mebibytes of "[" would
// become gigabytes.
#pragma once

#include <cstddef>
#include <string_view>

namespace orbelin::service {

inline constexpr std::size_t maxJsonDepth = 16;

// Whether arrays and objects nest at most limit deep (brackets inside
// strings do not count); says nothing of the rest of the syntax.
bool nestingWithin(std::string_view json, std::size_t limit = maxJsonDepth);

}  // namespace orbelin::service
