// An upstream server's answer to POST /translate, with the status the first
// byte chooses, and its error objects.
#include "UpstreamMessages.h"

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
    static constexpr int statuses[] = {200, 403, 429, 500};
    const std::string_view body(reinterpret_cast<const char*>(data + 1), size - 1);
    const TranslateAnswer answer = readTranslateAnswer(statuses[data[0] % 4], body);
    if (answer.text.find('\0') != std::string_view::npos) {
        std::abort();  // a NUL would end the client's text early
    }
    if (errorMessageOf(body).size() > 200 + 3) {
        std::abort();  // a message is cut to a short line
    }
    return 0;
}
