#include "http/NetCookie.h"

#include "base/AnsiText.h"
#include "http/NetDateTime.h"
#include "http/NetHTTPErrors.h"

#include <cmath>
#include <utility>

namespace orbelin {

namespace {

std::string NameOf(const std::string& item)
{
    const size_t at = item.find('=');
    return at == std::string::npos ? std::string() : item.substr(0, at);
}

// Comma-separated pieces; double quotes enclose a piece that holds commas.
std::vector<std::string> SplitCommaText(std::string_view text)
{
    std::vector<std::string> pieces;
    std::string piece;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            pieces.push_back(Trim(std::exchange(piece, {})));
        else
            piece += c;
    }
    if (!pieces.empty() || !Trim(piece).empty())
        pieces.push_back(Trim(piece));
    return pieces;
}

} // namespace

// ---- Netscape ----

TNetNetscapeCookie::TNetNetscapeCookie(TNetCookies* collection) : FCollection(collection) {}

std::string TNetNetscapeCookie::Attribute(const TStrings& attributes, std::string_view name)
{
    for (const std::string& item : attributes.Lines())
        if (item.find('=') != std::string::npos && SameText(NameOf(item), name))
            return item.substr(item.find('=') + 1);
    return {};
}

bool TNetNetscapeCookie::HasFlag(const TStrings& attributes, std::string_view flag)
{
    for (const std::string& item : attributes.Lines())
        if (SameText(item, flag))
            return true;
    return false;
}

void TNetNetscapeCookie::AppendProperty(std::string& text, std::string_view name, const std::string& value)
{
    if (value.empty())
        return;
    if (!text.empty())
        text += "; ";
    text.append(name);
    text += "=" + value;
}

void TNetNetscapeCookie::ParseCookieText(const std::string& text)
{
    if (text == FCookieText)
        return;
    FCookieText = text;

    TStrings items;
    if (text.find(';') == std::string::npos) {
        items.SetText(text);
    } else {
        std::string rest = text;
        while (rest.find(';') != std::string::npos)
            items.Add(Trim(SplitOff(rest, ";")));
        if (!Trim(rest).empty())
            items.Add(Trim(rest));
    }
    Name.clear();
    Value.clear();
    if (items.Count() > 0) {
        const std::string& first = items[0];
        if (const size_t at = first.find('='); at != std::string::npos) {
            Name = first.substr(0, at);
            Value = first.substr(at + 1);
        }
        items.Delete(0);
    }
    for (int i = 0; i < items.Count(); ++i) {
        std::string& item = items[i];
        const size_t at = item.find('=');
        item = at == std::string::npos ? UpperCase(item) : UpperCase(item.substr(0, at)) + item.substr(at);
    }
    LoadAttributes(items);
}

void TNetNetscapeCookie::LoadAttributes(const TStrings& attributes)
{
    Path = Attribute(attributes, "PATH");
    if (!Path.empty() && Path.front() == '"') {
        Path.erase(0, 1);
        if (!Path.empty() && Path.back() == '"')
            Path.pop_back();
    }
    SetExpiry(Attribute(attributes, "EXPIRES"));
    Domain = Attribute(attributes, "DOMAIN");
    Secure = HasFlag(attributes, "SECURE");
}

void TNetNetscapeCookie::SetExpiry(const std::string& text) { FExpires = text; }

std::string TNetNetscapeCookie::BuildHeaderForm() const
{
    std::string text;
    AppendProperty(text, Name, Value);
    AppendProperty(text, "path", Path);
    if (Format == TNetCookieFormat::cfNetscape)
        AppendProperty(text, "expires", FExpires);
    AppendProperty(text, "domain", Domain);
    if (Secure)
        text += text.empty() ? "secure" : "; secure";
    return text;
}

void TNetNetscapeCookie::CopyFrom(const TNetNetscapeCookie& source)
{
    ParseCookieText(source.ServerCookieText());
    Format = source.Format;
    // The header form of an RFC cookie may carry no expiry; keep the source's.
    FExpires = source.FExpires;
}

bool TNetNetscapeCookie::AcceptableFrom(const std::string& host) const
{
    if (IsIPv4Quad(host))
        return Domain == host;
    if (IsHostName(host))
        return IsHostName(Domain) ? Domain == host : Domain == DomainPart(host);
    return SameText(Domain, DomainPart(host));
}

// ---- RFC 2109 ----

TNetCookieRFC2109::TNetCookieRFC2109(TNetCookies* collection) : TNetNetscapeCookie(collection)
{
    Format = TNetCookieFormat::cfRFC2109;
}

void TNetCookieRFC2109::SetExpiry(const std::string& text)
{
    if (!text.empty()) {
        try {
            const double seconds = (InternetTextToLocal(text) - Now()) * 86400.0;
            if (std::fabs(seconds) < 9.0e18)
                MaxAge = static_cast<int64_t>(std::trunc(seconds));
        } catch (const Exception&) {
            // Without a time zone the max-age stays as it was.
        }
    }
    FExpires = text;
}

void TNetCookieRFC2109::LoadAttributes(const TStrings& attributes)
{
    TNetNetscapeCookie::LoadAttributes(attributes);
    int64_t maxAge = -1;
    const std::string text = Attribute(attributes, "MAX-AGE");
    bool digits = !text.empty();
    for (const char c : text)
        digits = digits && c >= '0' && c <= '9';
    MaxAge = digits && TryStrToInt64(text, maxAge) ? maxAge : -1;
    Version = Attribute(attributes, "VERSION");
    Comment = Attribute(attributes, "COMMENT");
    if (FExpires.empty()) {
        Format = TNetCookieFormat::cfNetscape;
        if (MaxAge >= 0)
            SetExpiry(DateToInternetText(Now() + static_cast<double>(MaxAge) / 86400.0, false));
    }
}

std::string TNetCookieRFC2109::BuildHeaderForm() const
{
    std::string text = TNetNetscapeCookie::BuildHeaderForm();
    if (MaxAge >= 0 && FExpires.empty())
        AppendProperty(text, "max-age", IntToStr(MaxAge));
    AppendProperty(text, "comment", Comment);
    AppendProperty(text, "version", Version);
    return text;
}

void TNetCookieRFC2109::CopyFrom(const TNetNetscapeCookie& source)
{
    TNetNetscapeCookie::CopyFrom(source);
    if (const auto* rfc = dynamic_cast<const TNetCookieRFC2109*>(&source))
        MaxAge = rfc->MaxAge;
}

// ---- RFC 2965 ----

TNetCookieRFC2965::TNetCookieRFC2965(TNetCookies* collection) : TNetCookieRFC2109(collection)
{
    Format = TNetCookieFormat::cfRFC2965;
}

void TNetCookieRFC2965::SetPortAt(int index, int port)
{
    if (index < 0 || index > static_cast<int>(FPortList.size()))
        throw ENetException(SNetIndexOutOfRange);
    if (index == static_cast<int>(FPortList.size()))
        FPortList.push_back(port);
    else
        FPortList[static_cast<size_t>(index)] = port;
}

void TNetCookieRFC2965::LoadAttributes(const TStrings& attributes)
{
    TNetCookieRFC2109::LoadAttributes(attributes);
    CommentURL = Attribute(attributes, "CommentURL");
    Discard = HasFlag(attributes, "DISCARD");
    const std::string port = Attribute(attributes, "Port");
    if (port.empty()) {
        SetPortAt(0, 80);
    } else if (port.size() >= 2 && port.front() == '"' && port.back() == '"') {
        const std::vector<std::string> pieces = SplitCommaText(port.substr(1, port.size() - 2));
        for (size_t i = 0; i < pieces.size(); ++i)
            SetPortAt(static_cast<int>(i), StrToInt(pieces[i]));
        if (pieces.empty())
            SetPortAt(0, 80);
    }
}

// ---- lists and collection ----

int TNetCookieList::IndexOf(std::string_view name) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (SameText(FItems[i].first, name))
            return static_cast<int>(i);
    return -1;
}

bool TNetCookieList::Remove(const TNetNetscapeCookie* cookie)
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].second == cookie) {
            FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    return false;
}

TNetCookies::~TNetCookies()
{
    FDomainIndex.clear();
    while (!FItems.empty())
        FItems.pop_back();
}

template <class T>
T* TNetCookies::Adopt(std::unique_ptr<T> cookie)
{
    T* raw = cookie.get();
    FItems.push_back(std::move(cookie));
    return raw;
}

TNetCookieRFC2109* TNetCookies::NewRfc2109Cookie() { return Adopt(std::make_unique<TNetCookieRFC2109>(this)); }
TNetCookieRFC2965* TNetCookies::NewRfc2965Cookie() { return Adopt(std::make_unique<TNetCookieRFC2965>(this)); }

TNetCookieDomainIndex& TNetCookies::LockDomains(TNetCookieAccess access)
{
    if (access == TNetCookieAccess::ReadAccess)
        FLock.BeginRead();
    else
        FLock.BeginWrite();
    return FDomainIndex;
}

void TNetCookies::UnlockDomains(TNetCookieAccess access)
{
    if (access == TNetCookieAccess::ReadAccess)
        FLock.EndRead();
    else
        FLock.EndWrite();
}

void TNetCookies::StoreCookie(TNetNetscapeCookie* cookie)
{
    TNetCookieDomainLock lock(*this, TNetCookieAccess::WriteAccess);
    TNetCookieDomain* domain = nullptr;
    for (auto& entry : lock.Index())
        if (SameText(entry->Domain, cookie->Domain)) {
            domain = entry.get();
            break;
        }
    if (!domain) {
        lock.Index().push_back(std::make_unique<TNetCookieDomain>(TNetCookieDomain{cookie->Domain, {}}));
        domain = lock.Index().back().get();
    }
    const int at = domain->Cookies.IndexOf(cookie->Name);
    if (at < 0) {
        domain->Cookies.Add(cookie->Name, cookie);
        return;
    }
    domain->Cookies.Cookie(at)->CopyFrom(*cookie);
    DestroyCookie(cookie);
}

void TNetCookies::DestroyCookie(TNetNetscapeCookie* cookie)
{
    {
        TNetCookieDomainLock lock(*this, TNetCookieAccess::WriteAccess);
        for (auto& entry : lock.Index())
            if (entry->Cookies.Remove(cookie))
                break;
    }
    std::erase_if(FItems, [cookie](const auto& item) { return item.get() == cookie; });
}

// ---- host tests ----

bool IsIPv4Quad(std::string_view text)
{
    std::string rest = Trim(text);
    for (int i = 0; i < 4; ++i) {
        const std::string piece = SplitOff(rest, ".");
        if (piece.empty() || piece.size() > 3)
            return false;
        int value = 0;
        for (const char c : piece) {
            if (c < '0' || c > '9')
                return false;
            value = value * 10 + (c - '0');
        }
        if (value > 255)
            return false;
    }
    return true;
}

bool IsHostName(std::string_view text) { return !(!text.empty() && text[0] == '.') && !IsIPv4Quad(text); }

std::string DomainPart(const std::string& host)
{
    const size_t at = host.find('.');
    return at == std::string::npos ? host : host.substr(at);
}

bool DomainMatchesHost(std::string_view domain, std::string_view host)
{
    if (!domain.empty() && domain[0] == '.')
        domain.remove_prefix(1);
    if (domain.empty())
        return false;
    if (SameText(domain, host))
        return true;
    return host.size() > domain.size() && host[host.size() - domain.size() - 1] == '.' &&
           SameText(host.substr(host.size() - domain.size()), domain);
}

} // namespace orbelin
