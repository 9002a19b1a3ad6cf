// The published properties of the HTTP client as form descriptions set them.

#include "http/NetHTTP.h"

#include "base/PropertyTable.h"

namespace orbelin {

namespace {

constexpr TEnumName<TNetHTTPProtocolVersion> ProtocolVersionNames[] = {
    {"pv1_0", TNetHTTPProtocolVersion::pv1_0},
    {"pv1_1", TNetHTTPProtocolVersion::pv1_1},
};

constexpr TEnumName<TNetHTTPOption> OptionNames[] = {
    {"hoInProcessAuth", TNetHTTPOption::hoInProcessAuth},
    {"hoKeepOrigProtocol", TNetHTTPOption::hoKeepOrigProtocol},
    {"hoForceEncodeParams", TNetHTTPOption::hoForceEncodeParams},
};

const TPropertyTable<TNetHTTPRequest>& RequestProperties()
{
    static const TPropertyTable<TNetHTTPRequest> table({
        Field("Accept", &TNetHTTPRequest::Accept),
        Field("AcceptCharSet", &TNetHTTPRequest::AcceptCharSet),
        Field("AcceptEncoding", &TNetHTTPRequest::AcceptEncoding),
        Field("AcceptLanguage", &TNetHTTPRequest::AcceptLanguage),
        Field("BasicAuthentication", &TNetHTTPRequest::BasicAuthentication),
        Field("CacheControl", &TNetHTTPRequest::CacheControl),
        Field("Connection", &TNetHTTPRequest::Connection),
        Field("ContentEncoding", &TNetHTTPRequest::ContentEncoding),
        Field("ContentLanguage", &TNetHTTPRequest::ContentLanguage),
        Setter("ContentLength", &TNetHTTPRequest::SetContentLength),
        Field("ContentRangeEnd", &TNetHTTPRequest::ContentRangeEnd),
        Field("ContentRangeStart", &TNetHTTPRequest::ContentRangeStart),
        Field("ContentType", &TNetHTTPRequest::ContentType),
        Field("ContentVersion", &TNetHTTPRequest::ContentVersion),
        Property<TNetHTTPRequest>("CustomHeaders",
                                  [](TNetHTTPRequest& r, const TPropertyValue& v) {
                                      r.CustomHeaders().Clear();
                                      for (const std::string& line : v.AsStrings())
                                          r.CustomHeaders().Add(line);
                                  }),
        Field("From", &TNetHTTPRequest::From),
        Field("Password", &TNetHTTPRequest::Password),
        Field("Pragma", &TNetHTTPRequest::Pragma),
        Field("ProxyConnection", &TNetHTTPRequest::ProxyConnection),
        Field("Referer", &TNetHTTPRequest::Referer),
        Field("UserAgent", &TNetHTTPRequest::UserAgent),
        Field("Username", &TNetHTTPRequest::Username),
    });
    return table;
}

const TPropertyTable<TNetProxyConnectionInfo>& ProxyProperties()
{
    static const TPropertyTable<TNetProxyConnectionInfo> table({
        Field("BasicAuthentication", &TNetProxyConnectionInfo::BasicAuthentication),
        Setter("ProxyPort", &TNetProxyConnectionInfo::SetProxyPort),
        Setter("ProxyServer", &TNetProxyConnectionInfo::SetProxyServer),
        Field("ProxyUsername", &TNetProxyConnectionInfo::ProxyUsername),
        Field("ProxyPassword", &TNetProxyConnectionInfo::ProxyPassword),
    });
    return table;
}

} // namespace

const TPropertyTable<TComponent>& TNetHTTP::Properties() const
{
    static const TPropertyTable<TComponent> table(TNetCustomHTTP::Properties(), {
        Part<TNetHTTP>("Request.", RequestProperties(), [](TNetHTTP& h) -> TNetHTTPRequest& { return h.Request(); }),
        Part<TNetHTTP>("ProxyParams.", ProxyProperties(),
                       [](TNetHTTP& h) -> TNetProxyConnectionInfo& { return h.ProxyParams(); }),
        Field("AllowCookies", &TNetHTTP::AllowCookies),
        Field("HandleRedirects", &TNetHTTP::HandleRedirects),
        Field("RedirectMaximum", &TNetHTTP::RedirectMaximum),
        Field("AuthRetries", &TNetHTTP::AuthRetries),
        Field("MaxHeadBytes", &TNetHTTP::MaxHeadBytes),
        Field("MaxHeadLines", &TNetHTTP::MaxHeadLines),
        Field("MaxResponseBody", &TNetHTTP::MaxResponseBody),
        EnumField("ProtocolVersion", &TNetHTTP::ProtocolVersion, ProtocolVersionNames),
        Property<TNetHTTP>("HTTPOptions",
                           [](TNetHTTP& h, const TPropertyValue& v) {
                               h.HTTPOptions = TNetHTTPOptions();
                               for (const TNetHTTPOption option : EnumsFromNames(OptionNames, v.AsSet()))
                                   h.HTTPOptions.Include(option);
                           }),
    });
    return table;
}

} // namespace orbelin
