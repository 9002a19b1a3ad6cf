#include "http/NetCookieManager.h"

#include "base/Exceptions.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace orbelin;
    const std::string text(reinterpret_cast<const char*>(data), size);
    TNetCookieManager store(nullptr);
    size_t start = 0;
    int n = 0;
    // Each line is one Set-Cookie value; lines starting with "2" are Set-Cookie2.
    while (start <= text.size() && n++ < 32) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = text.substr(start, end - start);
        try {
            if (!line.empty() && line[0] == '2')
                store.AddSetCookie2(line.substr(1), "a.b.example");
            else
                store.AddSetCookie(line, "a.b.example");
        } catch (const EConvertError&) {
            // A port list with a non-number is refused.
        }
        start = end + 1;
    }
    store.CookieHeaderFor(TNetURI("http://x.a.b.example/p/q"), false);
    store.CookieHeaderFor(TNetURI("http://a.b.example/"), true);
    return 0;
}
