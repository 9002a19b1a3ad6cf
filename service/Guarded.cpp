#include "Guarded.h"

#include <cstdio>
#include <exception>
#include <string>

namespace orbelin::service {

bool runGuarded(std::string_view what, const std::function<void()>& work) noexcept
{
    const char* why = "an unknown failure";
    std::string message;
    try {
        work();
        return true;
    } catch (const std::exception& e) {
        message = e.what();
        why = message.c_str();
    } catch (...) {
    }
    // One write, so that lines of threads that fail together do not mix.
    std::fprintf(stderr, "orbelin-service: %.*s: %s\n", static_cast<int>(what.size()), what.data(), why);
    return false;
}

}  // namespace orbelin::service
