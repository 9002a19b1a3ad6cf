// The published properties of the HTTP client as form descriptions set them.

#include "http/NetHTTP.h"

#include "base/AnsiText.h"
#include "base/Exceptions.h"

namespace orbelin {

namespace {

TNetHTTPProtocolVersion VersionOf(const TPropertyValue& value)
{
    const std::string& name = value.AsIdentifier();
    if (SameText(name, "pv1_0"))
        return TNetHTTPProtocolVersion::pv1_0;
    if (SameText(name, "pv1_1"))
        return TNetHTTPProtocolVersion::pv1_1;
    throw EConvertError("Invalid property value: " + name);
}

TNetHTTPOptions OptionsOf(const TPropertyValue& value)
{
    TNetHTTPOptions options;
    for (const std::string& member : value.AsSet()) {
        if (SameText(member, "hoInProcessAuth"))
            options.Include(TNetHTTPOption::hoInProcessAuth);
        else if (SameText(member, "hoKeepOrigProtocol"))
            options.Include(TNetHTTPOption::hoKeepOrigProtocol);
        else if (SameText(member, "hoForceEncodeParams"))
            options.Include(TNetHTTPOption::hoForceEncodeParams);
        else
            throw EConvertError("Invalid property value: " + member);
    }
    return options;
}

int IntOf(const TPropertyValue& value) { return static_cast<int>(value.AsInteger()); }

} // namespace

bool TNetHTTP::SetProperty(std::string_view name, const TPropertyValue& value)
{
    if (StartsText("Request.", name))
        return SetRequestProperty(name.substr(8), value);
    if (StartsText("ProxyParams.", name))
        return SetProxyProperty(name.substr(12), value);
    if (SameText(name, "AllowCookies"))
        AllowCookies = value.AsBoolean();
    else if (SameText(name, "HandleRedirects"))
        HandleRedirects = value.AsBoolean();
    else if (SameText(name, "RedirectMaximum"))
        RedirectMaximum = IntOf(value);
    else if (SameText(name, "AuthRetries"))
        AuthRetries = IntOf(value);
    else if (SameText(name, "ProtocolVersion"))
        ProtocolVersion = VersionOf(value);
    else if (SameText(name, "HTTPOptions"))
        HTTPOptions = OptionsOf(value);
    else
        return TNetCustomHTTP::SetProperty(name, value);
    return true;
}

bool TNetHTTP::SetRequestProperty(std::string_view name, const TPropertyValue& value)
{
    TNetHTTPRequest& r = Request();
    struct TTextField {
        const char* Name;
        std::string TNetHTTPRequest::*Field;
    };
    static const TTextField kTexts[] = {
        {"Accept", &TNetHTTPRequest::Accept},
        {"AcceptCharSet", &TNetHTTPRequest::AcceptCharSet},
        {"AcceptEncoding", &TNetHTTPRequest::AcceptEncoding},
        {"AcceptLanguage", &TNetHTTPRequest::AcceptLanguage},
        {"CacheControl", &TNetHTTPRequest::CacheControl},
        {"Connection", &TNetHTTPRequest::Connection},
        {"ContentEncoding", &TNetHTTPRequest::ContentEncoding},
        {"ContentLanguage", &TNetHTTPRequest::ContentLanguage},
        {"ContentType", &TNetHTTPRequest::ContentType},
        {"ContentVersion", &TNetHTTPRequest::ContentVersion},
        {"From", &TNetHTTPRequest::From},
        {"Password", &TNetHTTPRequest::Password},
        {"Pragma", &TNetHTTPRequest::Pragma},
        {"ProxyConnection", &TNetHTTPRequest::ProxyConnection},
        {"Referer", &TNetHTTPRequest::Referer},
        {"UserAgent", &TNetHTTPRequest::UserAgent},
        {"Username", &TNetHTTPRequest::Username},
    };
    for (const TTextField& f : kTexts)
        if (SameText(name, f.Name)) {
            r.*f.Field = value.AsString();
            return true;
        }
    if (SameText(name, "ContentLength"))
        r.SetContentLength(IntOf(value));
    else if (SameText(name, "ContentRangeEnd"))
        r.ContentRangeEnd = IntOf(value);
    else if (SameText(name, "ContentRangeStart"))
        r.ContentRangeStart = IntOf(value);
    else if (SameText(name, "BasicAuthentication"))
        r.BasicAuthentication = value.AsBoolean();
    else if (SameText(name, "CustomHeaders")) {
        r.CustomHeaders().Clear();
        for (const std::string& line : value.AsStrings())
            r.CustomHeaders().Add(line);
    } else
        return false;
    return true;
}

bool TNetHTTP::SetProxyProperty(std::string_view name, const TPropertyValue& value)
{
    TNetProxyConnectionInfo& p = ProxyParams();
    if (SameText(name, "BasicAuthentication"))
        p.BasicAuthentication = value.AsBoolean();
    else if (SameText(name, "ProxyPort"))
        p.SetProxyPort(IntOf(value));
    else if (SameText(name, "ProxyServer"))
        p.SetProxyServer(value.AsString());
    else if (SameText(name, "ProxyUsername"))
        p.ProxyUsername = value.AsString();
    else if (SameText(name, "ProxyPassword"))
        p.ProxyPassword = value.AsString();
    else
        return false;
    return true;
}

} // namespace orbelin
