// Response reading of the HTTP client over a scripted transport.

#include "tests/support/ScriptedIOHandler.h"
#include "http/NetHTTP.h"

#include "base/Streams.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace orbelin;
    if (size < 1)
        return 0;
    const uint8_t flags = data[0];
    const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
    TNetHTTP http(nullptr);
    auto* handler = new TScriptedIOHandler(&http, input, 1 + (flags >> 4) * 97); // owned by http
    http.SetIOHandler(handler);
    http.HandleRedirects = (flags & 1) != 0;
    http.RedirectMaximum = 4;
    http.MaxLineLength = 4096;
    if (flags & 2)
        http.ProtocolVersion = TNetHTTPProtocolVersion::pv1_0;
    if (flags & 4)
        http.HTTPOptions.Include(TNetHTTPOption::hoInProcessAuth);
    if (flags & 8)
        http.OnAuthorization = [](TObject*, TNetAuthentication* auth, bool& handled) {
            auth->SetUsername("u");
            handled = true;
        };
    TStringStream body;
    for (int i = 0; i < 2; ++i) {
        try {
            http.Get("http://fuzz.example/dir/doc", &body);
        } catch (const Exception&) {
            // Every failure of the exchange is an exception of the family.
        }
    }
    return 0;
}
