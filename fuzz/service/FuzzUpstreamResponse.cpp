// An upstream server's response head and a chunked body, the body fed in
// pieces whose sizes the first byte chooses.
#include "HttpResponse.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace orbelin::service;
    if (size < 1) {
        return 0;
    }
    const std::size_t step = 1 + data[0] % 16;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t end = endOfHead(bytes);
    if (end > bytes.size()) {
        std::abort();
    }
    (void)parseResponseHead(bytes.substr(0, end == 0 ? bytes.size() : end));

    constexpr std::size_t limit = 256;
    ChunkedBody chunks(limit);
    std::string decoded;
    ChunkedBody::State state = ChunkedBody::State::more;
    for (std::size_t at = end; at < bytes.size() && state == ChunkedBody::State::more; at += step) {
        state = chunks.feed(bytes.substr(at, step), decoded);
    }
    if (decoded.size() > limit) {
        std::abort();
    }
    return 0;
}
