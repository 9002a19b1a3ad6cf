#include "http/NetURI.h"

#include "http/NetHTTPErrors.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace orbelin;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const size_t cut = text.find('\n');
    TNetURI uri(text.substr(0, cut));
    try {
        const std::string full = uri.FullUriText(TNetURIOptions::All());
        uri.UriText();
        // What was rebuilt parses back to the same rebuilt text.
        TNetURI again(full);
        if (again.FullUriText(TNetURIOptions::All()).size() > full.size() * 2 + 16)
            __builtin_trap();
    } catch (const ENetURIException&) {
    }
    if (cut != std::string::npos) {
        const std::string joined = TNetURI::JoinPath(uri.Path, text.substr(cut + 1));
        if (joined.size() > uri.Path.size() + text.size() + 1)
            __builtin_trap();
    }
    return 0;
}
