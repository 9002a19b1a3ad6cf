#include "HttpResponse.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace orbelin::service {

namespace {

constexpr std::size_t maxSizeLine = 1024;
constexpr std::size_t maxTrailer = 8 * 1024;

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The line up to LF, without CR LF; rest moves past it.
std::string_view nextLine(std::string_view& rest)
{
    const std::size_t lf = rest.find('\n');
    std::string_view line = rest.substr(0, lf);
    rest = lf == std::string_view::npos ? std::string_view{} : rest.substr(lf + 1);
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line;
}

bool readStatusLine(std::string_view line, ResponseHead& head)
{
    if (!line.starts_with("HTTP/1.") || line.size() < 12 || line[8] != ' ' ||
        !(line[7] == '0' || line[7] == '1')) {
        return false;
    }
    const std::string_view code = line.substr(9, 3);
    const auto [end, error] = std::from_chars(code.data(), code.data() + code.size(), head.status);
    return error == std::errc() && end == code.data() + code.size() && head.status >= 100 &&
           (line.size() == 12 || line[12] == ' ');
}

bool readHeader(std::string_view line, ResponseHead& head)
{
    const std::size_t colon = line.find(':');
    if (colon == 0 || colon == std::string_view::npos || line.front() == ' ' || line.front() == '\t') {
        return false;
    }
    const std::string_view name = line.substr(0, colon);
    const std::string_view value = trimmed(line.substr(colon + 1));
    if (equalsIgnoringCase(name, "Content-Length")) {
        std::uint64_t length = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
        if (value.empty() || error != std::errc() || end != value.data() + value.size() ||
            (head.contentLength && *head.contentLength != length)) {
            return false;
        }
        head.contentLength = length;
    } else if (equalsIgnoringCase(name, "Transfer-Encoding")) {
        // The last coding decides; ours asks for no other.
        const std::size_t comma = value.rfind(',');
        head.chunked = equalsIgnoringCase(trimmed(comma == std::string_view::npos ? value : value.substr(comma + 1)),
                                          "chunked");
    }
    return true;
}

}  // namespace

std::optional<ResponseHead> parseResponseHead(std::string_view text)
{
    ResponseHead head;
    if (!readStatusLine(nextLine(text), head)) {
        return std::nullopt;
    }
    for (std::size_t lines = 0; !text.empty(); ++lines) {
        const std::string_view line = nextLine(text);
        if (line.empty() && text.empty()) {
            break;
        }
        if (lines >= maxResponseHeaderLines || !readHeader(line, head)) {
            return std::nullopt;
        }
    }
    if (head.chunked) {
        head.contentLength.reset();  // a length beside chunks counts for nothing
    }
    return head;
}

std::size_t endOfHead(std::string_view received)
{
    for (std::size_t lf = received.find('\n'); lf != std::string_view::npos; lf = received.find('\n', lf + 1)) {
        const std::size_t next = lf + 1;
        if (next < received.size() && received[next] == '\n') {
            return next + 1;
        }
        if (next + 1 < received.size() && received[next] == '\r' && received[next + 1] == '\n') {
            return next + 2;
        }
    }
    return 0;
}

ChunkedBody::State ChunkedBody::feed(std::string_view bytes, std::string& out)
{
    while (state_ == State::more && !bytes.empty()) {
        switch (part_) {
        case Part::data: {
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left_, bytes.size()));
            out.append(bytes.substr(0, n));
            bytes.remove_prefix(n);
            left_ -= n;
            if (left_ == 0) {
                part_ = Part::dataEnd;
            }
            break;
        }
        case Part::size:
        case Part::dataEnd:
        case Part::trailer: {
            const std::size_t lf = bytes.find('\n');
            line_.append(bytes.substr(0, lf));
            bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
            const std::size_t lineLimit = part_ == Part::trailer ? maxTrailer : maxSizeLine;
            if (line_.size() > lineLimit) {
                state_ = State::bad;
                break;
            }
            if (lf == std::string_view::npos) {
                break;
            }
            std::string_view line(line_);
            if (line.ends_with('\r')) {
                line.remove_suffix(1);
            }
            if (part_ == Part::size) {
                state_ = sizeLine(line);
            } else if (part_ == Part::dataEnd) {
                state_ = line.empty() ? State::more : State::bad;
                part_ = Part::size;
            } else if (line.empty()) {
                state_ = State::done;
            } else if ((trailer_ += line.size()) > maxTrailer) {
                state_ = State::bad;
            }
            line_.clear();
            break;
        }
        }
    }
    return state_;
}

ChunkedBody::State ChunkedBody::sizeLine(std::string_view line)
{
    const std::string_view digits = trimmed(line.substr(0, line.find(';')));
    std::uint64_t size = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), size, 16);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        return State::bad;
    }
    if (size > limit_ - decoded_) {
        return State::tooLarge;
    }
    decoded_ += static_cast<std::size_t>(size);
    left_ = size;
    part_ = size == 0 ? Part::trailer : Part::data;
    return State::more;
}

}  // namespace orbelin::service
