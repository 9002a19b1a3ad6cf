#include "http/NetCookieManager.h"

#include "base/AnsiText.h"
#include "base/Exceptions.h"
#include "http/NetDateTime.h"

#include <algorithm>

namespace orbelin {

TNetCookieManager::TNetCookieManager(TComponent* owner)
    : TNetBaseComponent(owner), FCookies(std::make_unique<TNetCookies>())
{
}

TNetCookieManager::~TNetCookieManager()
{
    try {
        RemoveExpired();
    } catch (const Exception&) {
        // Nothing can be reported from a destructor; the store goes anyway.
    }
    if (OnDestroy)
        OnDestroy(this, FCookies.get());
}

void TNetCookieManager::AddSetCookie(const std::string& value, const std::string& host)
{
    AcceptCookie(FCookies->NewRfc2109Cookie(), value, host);
}

void TNetCookieManager::AddSetCookie2(const std::string& value, const std::string& host)
{
    AcceptCookie(FCookies->NewRfc2965Cookie(), value, host);
}

void TNetCookieManager::AcceptCookie(TNetNetscapeCookie* cookie, const std::string& value, const std::string& host)
{
    try {
        cookie->ParseCookieText(value);
    } catch (...) {
        FCookies->DestroyCookie(cookie);
        throw;
    }
    if (cookie->Domain.empty())
        cookie->Domain = host;
    bool accept = cookie->AcceptableFrom(host);
    if (accept && OnNewCookie)
        OnNewCookie(this, cookie, accept);
    if (accept)
        FCookies->StoreCookie(cookie);
    else
        FCookies->DestroyCookie(cookie);
}

std::string TNetCookieManager::CookieHeaderFor(const TNetURI& uri, bool secure)
{
    RemoveExpired();
    std::vector<TNetNetscapeCookie*> taken;
    {
        TNetCookieDomainLock lock(*FCookies, TNetCookieAccess::ReadAccess);
        for (const auto& domain : lock.Index()) {
            if (!DomainMatchesHost(domain->Domain, uri.Host))
                continue;
            for (int i = domain->Cookies.Count() - 1; i >= 0; --i) {
                TNetNetscapeCookie* c = domain->Cookies.Cookie(i);
                if (!c->Path.empty() && uri.Path.starts_with(c->Path) && (!c->Secure || secure) && !c->Value.empty())
                    taken.push_back(c);
            }
        }
        // Longer paths sharing a prefix first; equal paths keep their order.
        std::stable_sort(taken.begin(), taken.end(), [](const TNetNetscapeCookie* a, const TNetNetscapeCookie* b) {
            return CompareText(a->Path, b->Path) > 0;
        });
        std::string text;
        for (const TNetNetscapeCookie* c : taken) {
            if (!text.empty())
                text += "; ";
            text += c->ClientCookieText();
        }
        return text;
    }
}

void TNetCookieManager::RemoveExpired()
{
    TNetCookieDomainLock lock(*FCookies, TNetCookieAccess::WriteAccess);
    for (const auto& domain : lock.Index()) {
        for (int i = domain->Cookies.Count() - 1; i >= 0; --i) {
            TNetNetscapeCookie* c = domain->Cookies.Cookie(i);
            if (!c->Expires().empty() && Now() > InternetTextToLocal(c->Expires()))
                FCookies->DestroyCookie(c);
        }
    }
}

} // namespace orbelin
