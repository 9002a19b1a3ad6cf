// Plain text in and out of Apertium's stream format (apertium-destxt and
// apertium-retxt), each a short-lived process fed through pipes.
#pragma once

#include "PipeIo.h"

#include <string>
#include <string_view>
#include <vector>

namespace orbelin::service {

// Runs a program as a filter: data on its input, its whole output back.
// A program that cannot start or exits with a failure gives IoStatus::failed.
IoResult runFilter(const std::vector<std::string>& argv, std::string_view data, Deadline deadline);

IoResult deformatText(std::string_view text, Deadline deadline);
IoResult reformatText(std::string_view stream, Deadline deadline);

}  // namespace orbelin::service
