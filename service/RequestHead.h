// The head of a request as its bytes arrive: where it ends, and whether it
// stays within its limits, looked at before the bytes pile up.
#pragma once

#include <cstddef>
#include <string_view>

namespace orbelin::service {

struct HeadLimits {
    std::size_t requestLine = 8 * 1024;  // without its line end
    std::size_t headerLine = 8 * 1024;   // without its line end
    std::size_t head = 32 * 1024;        // request line, header lines and the empty line
};

enum class HeadVerdict {
    incomplete,
    complete,
    requestLineTooLong,  // 414
    headerLineTooLong,   // 431
    headTooLarge,        // 431
};

// Lines end with LF, a CR before it belonging to the line end; the head ends
// with the first empty line (an empty first line too, which the server then
// refuses as a malformed request).
class HeadScanner {
public:
    explicit HeadScanner(const HeadLimits& limits) : limits_(limits) {}

    // Looks at the bytes that follow those seen so far, up to the end of the
    // head; once the verdict is not incomplete, it stays.
    HeadVerdict scan(std::string_view bytes);

    // The head's length with its empty line, once complete.
    std::size_t headBytes() const { return seen_; }

private:
    const HeadLimits limits_;
    HeadVerdict verdict_ = HeadVerdict::incomplete;
    std::size_t seen_ = 0;
    std::size_t line_ = 0;        // bytes of the current line so far, CR included
    bool lastWasCr_ = false;
    bool firstLine_ = true;
};

// The status and reason phrase that refuse a head.
int statusFor(HeadVerdict verdict);
std::string_view reasonFor(int status);

}  // namespace orbelin::service
