// A form body as a client may post it: its escapes, its fields, and the
// translate request read from them.
#include "FormBody.h"
#include "TranslateRequest.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace orbelin::service;
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    if (const auto decoded = percentDecode(body); decoded && decoded->size() > body.size()) {
        std::abort();  // decoding never lengthens a text
    }
    (void)parseFormBody(body);
    const auto request = readTranslateRequest(std::string(body));
    if (const auto* read = std::get_if<TranslateRequest>(&request); read && !isValidUtf8(read->text)) {
        std::abort();
    }
    return 0;
}
