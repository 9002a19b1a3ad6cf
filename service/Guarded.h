// Every thread of the service runs its work through this: whatever the work
// throws ends that piece of work with one line on standard error, never the
// process.
#pragma once

#include <functional>
#include <string_view>

namespace orbelin::service {

// Runs work; when it throws, writes "orbelin-service: <what>: <why>" and
// returns false.
bool runGuarded(std::string_view what, const std::function<void()>& work) noexcept;

}  // namespace orbelin::service
