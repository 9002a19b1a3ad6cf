#include "RequestHead.h"

namespace orbelin::service {

HeadVerdict HeadScanner::scan(std::string_view bytes)
{
    for (const char c : bytes) {
        if (verdict_ != HeadVerdict::incomplete) {
            break;
        }
        ++seen_;
        const std::size_t lineLimit = firstLine_ ? limits_.requestLine : limits_.headerLine;
        const HeadVerdict lineTooLong =
            firstLine_ ? HeadVerdict::requestLineTooLong : HeadVerdict::headerLineTooLong;
        if (c != '\n') {
            ++line_;
            lastWasCr_ = c == '\r';
            // One byte of room for the CR of a line end still to come.
            if (line_ > lineLimit + 1) {
                verdict_ = lineTooLong;
            } else if (seen_ > limits_.head) {
                verdict_ = HeadVerdict::headTooLarge;
            }
            continue;
        }
        const std::size_t length = line_ - (lastWasCr_ ? 1 : 0);
        if (length > lineLimit) {
            verdict_ = lineTooLong;
        } else if (seen_ > limits_.head) {
            verdict_ = HeadVerdict::headTooLarge;
        } else if (length == 0) {
            verdict_ = HeadVerdict::complete;
        }
        line_ = 0;
        lastWasCr_ = false;
        firstLine_ = false;
    }
    return verdict_;
}

int statusFor(HeadVerdict verdict)
{
    switch (verdict) {
    case HeadVerdict::requestLineTooLong: return 414;
    case HeadVerdict::headerLineTooLong:
    case HeadVerdict::headTooLarge: return 431;
    case HeadVerdict::incomplete:
    case HeadVerdict::complete: break;
    }
    return 400;
}

std::string_view reasonFor(int status)
{
    switch (status) {
    case 400: return "Bad Request";
    case 408: return "Request Timeout";
    case 413: return "Payload Too Large";
    case 414: return "URI Too Long";
    case 431: return "Request Header Fields Too Large";
    default: return "Error";
    }
}

}  // namespace orbelin::service
