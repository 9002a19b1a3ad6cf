// A request head fed whole and in pieces: the same verdict and length, and
// never more bytes looked at than a limit allows.
#include "RequestHead.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace orbelin::service;
    if (size < 1) {
        return 0;
    }
    // Small limits, so that inputs reach them.
    const HeadLimits limits{16u + data[0] % 32u, 16u + data[0] / 8u, 64u + data[0]};
    const std::string_view head(reinterpret_cast<const char*>(data + 1), size - 1);
    HeadScanner whole(limits);
    const HeadVerdict verdict = whole.scan(head);
    HeadScanner pieces(limits);
    HeadVerdict inPieces = HeadVerdict::incomplete;
    for (std::size_t at = 0; at < head.size(); at += 1 + at % 7) {
        inPieces = pieces.scan(head.substr(at, 1 + at % 7));
    }
    if (verdict != inPieces || whole.headBytes() != pieces.headBytes() ||
        whole.headBytes() > limits.head + 1) {
        std::abort();
    }
    return 0;
}
