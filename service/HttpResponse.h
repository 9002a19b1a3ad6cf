// Reading an HTTP/1.x response from the upstream server, within limits: the
// head, and a chunked body. Pure functions over bytes, so that they can be
// tested and fuzzed apart from any socket.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orbelin::service {

inline constexpr std::size_t maxResponseHeadBytes = 64 * 1024;
inline constexpr std::size_t maxResponseHeaderLines = 100;

struct ResponseHead {
    int status = 0;
    std::optional<std::uint64_t> contentLength;
    bool chunked = false;
};

// The head up to and without its empty line: "HTTP/1.x NNN reason", then
// header lines. Empty for a bad status line, a header line without a name
// and colon, more than maxResponseHeaderLines lines, or Content-Length
// values that are not digits or disagree.
std::optional<ResponseHead> parseResponseHead(std::string_view head);

// Where the head ends in bytes received so far: the position after its empty
// line (CR LF CR LF, or LF LF), or 0 while it has not ended.
std::size_t endOfHead(std::string_view received);

// A chunked body fed as it arrives. The decoded bytes must stay within a
// limit; a chunk-size line, a trailer line and the trailer as a whole within
// their own.
class ChunkedBody {
public:
    enum class State { more, done, bad, tooLarge };

    explicit ChunkedBody(std::size_t limit) : limit_(limit) {}

    // Decodes bytes onto out; done once the last chunk and its trailer are
    // read (bytes after them are left alone).
    State feed(std::string_view bytes, std::string& out);

private:
    enum class Part { size, data, dataEnd, trailer };

    State sizeLine(std::string_view line);

    const std::size_t limit_;
    State state_ = State::more;
    Part part_ = Part::size;
    std::string line_;         // of a size or trailer line, until its LF
    std::uint64_t left_ = 0;   // bytes of the current chunk still to come
    std::size_t decoded_ = 0;
    std::size_t trailer_ = 0;
};

}  // namespace orbelin::service
