#pragma once
// printf-style formatting into a std::string.

#include <cstdarg>
#include <string>

namespace orbelin {

#if defined(__GNUC__)
#define ORBELIN_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define ORBELIN_PRINTF(fmt, args)
#endif

std::string Format(const char* format, ...) ORBELIN_PRINTF(1, 2);
std::string FormatV(const char* format, std::va_list args);

} // namespace orbelin
