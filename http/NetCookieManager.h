#pragma once
// The in-memory cookie store of the HTTP client: takes "Set-cookie" values,
// files them by domain and name, and builds the "Cookie" request value.

#include "http/NetCookie.h"
#include "http/NetURI.h"
#include "net/NetComponent.h"

#include <functional>
#include <memory>
#include <string>

namespace orbelin {

using TOnManagerEvent = std::function<void(TObject* sender, TNetCookies* cookies)>;
using TOnNewCookieEvent = std::function<void(TObject* sender, TNetNetscapeCookie* cookie, bool& accept)>;

class TNetCookieManager : public TNetBaseComponent {
public:
    explicit TNetCookieManager(TComponent* owner);
    ~TNetCookieManager() override;

    void AddSetCookie(const std::string& value, const std::string& host);
    void AddSetCookie2(const std::string& value, const std::string& host);
    void AcceptCookie(TNetNetscapeCookie* cookie, const std::string& value, const std::string& host);
    // The "Cookie" request value for uri; empty when no cookie applies.
    std::string CookieHeaderFor(const TNetURI& uri, bool secure);
    void RemoveExpired();

    TNetCookies& CookieCollection() { return *FCookies; }

    TOnManagerEvent OnDestroy;
    TOnNewCookieEvent OnNewCookie;

private:
    std::unique_ptr<TNetCookies> FCookies;
};

} // namespace orbelin
