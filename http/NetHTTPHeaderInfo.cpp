#include "http/NetHTTPHeaderInfo.h"

#include "base/AnsiText.h"
#include "http/NetDateTime.h"

#include <algorithm>
#include <limits>

namespace orbelin {

namespace {

bool TryDecimal(std::string_view text, int64_t& value)
{
    size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (i >= text.size() || text.size() - i > 18)
        return false;
    int64_t v = 0;
    for (size_t k = i; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9')
            return false;
        v = v * 10 + (text[k] - '0');
    }
    value = text[0] == '-' ? -v : v;
    return true;
}

void PutDate(TNetHeaderList& lines, const char* name, TDateTime value)
{
    if (value > 0)
        lines.PutValue(name, DateToInternetText(value, false));
}

TDateTime ReadDate(const TNetHeaderList& lines, const char* name)
{
    const std::string text = lines.ValueOf(name);
    return text.empty() ? 0 : InternetTextToLocal(text);
}

} // namespace

// ---- entity ----

TNetEntityHeaderInfo::TNetEntityHeaderInfo()
{
    FHeaderLines.FoldWidth = 1024;
    ResetEntityFields();
}

void TNetEntityHeaderInfo::SetContentLength(int value)
{
    FContentLength = value;
    FLengthKnown = value >= 0;
}

void TNetEntityHeaderInfo::ResetEntityFields()
{
    FHeaderLines.Clear();
    Connection.clear();
    ContentEncoding.clear();
    ContentLanguage.clear();
    SetContentLength(-1);
    ContentRangeEnd = 0;
    ContentRangeStart = 0;
    ContentType = SNetDefaultContentType;
    ContentVersion.clear();
    Date = 0;
    Expires = 0;
    LastModified = 0;
}

void TNetEntityHeaderInfo::ResetFields() { ResetEntityFields(); }

void TNetEntityHeaderInfo::AssignEntity(const TNetEntityHeaderInfo& source)
{
    FHeaderLines.Assign(source.FHeaderLines);
    ContentEncoding = source.ContentEncoding;
    ContentLanguage = source.ContentLanguage;
    SetContentLength(source.FContentLength);
    ContentRangeEnd = source.ContentRangeEnd;
    ContentRangeStart = source.ContentRangeStart;
    ContentType = source.ContentType;
    ContentVersion = source.ContentVersion;
    Date = source.Date;
    Expires = source.Expires;
    LastModified = source.LastModified;
}

void TNetEntityHeaderInfo::Assign(const TNetEntityHeaderInfo& source) { AssignEntity(source); }

void TNetEntityHeaderInfo::ReadEntityFields()
{
    Connection = FHeaderLines.ValueOf("Connection");
    ContentVersion = FHeaderLines.ValueOf("Content-Version");
    ContentEncoding = FHeaderLines.ValueOf("Content-Encoding");
    ContentLanguage = FHeaderLines.ValueOf("Content-Language");
    ContentType = FHeaderLines.ValueOf("Content-Type");
    int64_t length = -1;
    if (!TryDecimal(Trim(FHeaderLines.ValueOf("Content-Length")), length) || length < -1 ||
        length > std::numeric_limits<int>::max())
        length = -1;
    SetContentLength(static_cast<int>(length));
    Date = ReadDate(FHeaderLines, "Date");
    LastModified = ReadDate(FHeaderLines, "Last-Modified");
    const std::string expires = FHeaderLines.ValueOf("Expires");
    int64_t seconds = 0;
    if (TryDecimal(expires, seconds) && seconds != -1) {
        // Seconds from now, as a time of day: a day or more cannot be encoded.
        const auto hours = static_cast<int>(std::clamp<int64_t>(seconds / 3600, -1, 24));
        Expires = Now() + EncodeTime(hours, static_cast<int>((seconds / 60) % 60), static_cast<int>(seconds % 60), 0);
    } else {
        Expires = expires.empty() ? 0 : InternetTextToLocal(expires);
    }
    Pragma = FHeaderLines.ValueOf("Pragma");
}

void TNetEntityHeaderInfo::ReadFromLines() { ReadEntityFields(); }

void TNetEntityHeaderInfo::WriteEntityFields()
{
    FHeaderLines.Clear();
    FHeaderLines.PutValue("Connection", Connection);
    FHeaderLines.PutValue("Content-Version", ContentVersion);
    FHeaderLines.PutValue("Content-Encoding", ContentEncoding);
    FHeaderLines.PutValue("Content-Language", ContentLanguage);
    FHeaderLines.PutValue("Content-Type", ContentType);
    if (FContentLength >= 0)
        FHeaderLines.PutValue("Content-Length", IntToStr(FContentLength));
    FHeaderLines.PutValue("Cache-control", CacheControl);
    PutDate(FHeaderLines, "Date", Date);
    PutDate(FHeaderLines, "Expires", Expires);
    FHeaderLines.PutValue("Pragma", Pragma);
    if (FCustomHeaders.Count() > 0)
        FHeaderLines.SetText(FHeaderLines.Text() + FCustomHeaders.Text());
}

void TNetEntityHeaderInfo::WriteToLines() { WriteEntityFields(); }

// ---- request ----

TNetRequestHeaderInfo::TNetRequestHeaderInfo() { ResetRequestFields(); }

void TNetRequestHeaderInfo::ResetRequestFields()
{
    Accept = SNetDefaultAccept;
    AcceptCharSet.clear();
    UserAgent = SNetDefaultUserAgent;
    BasicAuthentication = false;
}

void TNetRequestHeaderInfo::ResetFields()
{
    ResetRequestFields();
    ResetEntityFields();
}

void TNetRequestHeaderInfo::Assign(const TNetEntityHeaderInfo& source)
{
    const auto* request = dynamic_cast<const TNetRequestHeaderInfo*>(&source);
    if (!request) {
        AssignEntity(source);
        return;
    }
    Accept = request->Accept;
    AcceptCharSet = request->AcceptCharSet;
    AcceptEncoding = request->AcceptEncoding;
    AcceptLanguage = request->AcceptLanguage;
    From = request->From;
    Password = request->Password;
    Referer = request->Referer;
    UserAgent = request->UserAgent;
    Username = request->Username;
    BasicAuthentication = request->BasicAuthentication;
}

void TNetRequestHeaderInfo::ReadFromLines()
{
    const TNetHeaderList& lines = HeaderLines();
    Accept = lines.ValueOf("Accept");
    AcceptCharSet = lines.ValueOf("Accept-Charset");
    AcceptEncoding = lines.ValueOf("Accept-Encoding");
    AcceptLanguage = lines.ValueOf("Accept-Language");
    Host = lines.ValueOf("Host");
    From = lines.ValueOf("From");
    Referer = lines.ValueOf("Referer");
    UserAgent = lines.ValueOf("User-Agent");
    std::string range = lines.ValueOf("Range");
    if (!range.empty()) {
        SplitOff(range, "=");
        ContentRangeStart = StrToIntDef(SplitOff(range, "-"), 0);
        ContentRangeEnd = StrToIntDef(SplitOff(range, " "), 0);
    }
    ReadEntityFields();
}

void TNetRequestHeaderInfo::WriteToLines()
{
    WriteEntityFields();
    TNetHeaderList& lines = HeaderLines();
    lines.PutValue("Proxy-Connection", ProxyConnection);
    lines.PutValue("Host", Host);
    lines.PutValue("Accept", Accept);
    lines.PutValue("Accept-Charset", AcceptCharSet);
    lines.PutValue("Accept-Encoding", AcceptEncoding);
    lines.PutValue("Accept-Language", AcceptLanguage);
    lines.PutValue("From", From);
    lines.PutValue("Referer", Referer);
    lines.PutValue("User-Agent", UserAgent);
    PutDate(lines, "If-Modified-Since", LastModified);
    if (ContentRangeStart != 0 || ContentRangeEnd != 0) {
        std::string range = "bytes=" + IntToStr(ContentRangeStart) + "-";
        if (ContentRangeEnd != 0)
            range += IntToStr(ContentRangeEnd);
        lines.PutValue("Range", range);
    }
    if (!FAuthentication && BasicAuthentication)
        FAuthentication = std::make_unique<TNetBasicAuthentication>();
    if (FAuthentication) {
        // Given again for every request, not only when the object is made:
        // the object outlives the request, and a later URL that names other
        // credentials must not carry the earlier ones to its server.
        if (BasicAuthentication && dynamic_cast<TNetBasicAuthentication*>(FAuthentication.get())) {
            FAuthentication->SetUsername(Username);
            FAuthentication->SetPassword(Password);
        }
        lines.PutValue("Authorization", FAuthentication->Authentication());
    }
}

// ---- response ----

TNetResponseHeaderInfo::TNetResponseHeaderInfo() { ResetFields(); }

void TNetResponseHeaderInfo::ResetFields()
{
    ResetEntityFields();
    Location.clear();
    Server.clear();
    ProxyAuthenticate.Clear();
    WWWAuthenticate.Clear();
}

void TNetResponseHeaderInfo::ReadFromLines()
{
    const TNetHeaderList& lines = HeaderLines();
    Location = lines.ValueOf("Location");
    Server = lines.ValueOf("Server");
    ProxyConnection = lines.ValueOf("Proxy-Connection");
    if (lines.FindName("Content-Range") >= 0) {
        std::string range = lines.ValueOf("Content-Range");
        SplitOff(range, " ");
        ContentRangeStart = StrToInt(SplitOff(range, "-"));
        ContentRangeEnd = StrToInt(SplitOff(range, "/"));
    }
    WWWAuthenticate.Clear();
    lines.ExtractValues("WWW-Authenticate", &WWWAuthenticate);
    ProxyAuthenticate.Clear();
    lines.ExtractValues("Proxy-Authenticate", &ProxyAuthenticate);
    ReadEntityFields();
}

// ---- proxy ----

void TNetProxyConnectionInfo::SetProxyServer(const std::string& value)
{
    if (!SameText(value, FProxyServer))
        FAuthentication.reset();
    FProxyServer = value;
}

void TNetProxyConnectionInfo::SetProxyPort(int value)
{
    if (value != FProxyPort)
        FAuthentication.reset();
    FProxyPort = value;
}

void TNetProxyConnectionInfo::Clear()
{
    SetProxyServer({});
    SetProxyPort(0);
    ProxyUsername.clear();
    ProxyPassword.clear();
}

void TNetProxyConnectionInfo::SetHeaders(TNetHeaderList& headers)
{
    if (!FAuthentication && BasicAuthentication) {
        FAuthentication = std::make_unique<TNetBasicAuthentication>();
        FAuthentication->SetUsername(ProxyUsername);
        FAuthentication->SetPassword(ProxyPassword);
    }
    if (FAuthentication)
        headers.PutValue("Proxy-Authorization", FAuthentication->Authentication());
}

} // namespace orbelin
