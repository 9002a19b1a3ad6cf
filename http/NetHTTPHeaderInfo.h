#pragma once
// Typed header records: fields that convert to and from their own header list.

#include "base/DateTime.h"
#include "http/NetAuthentication.h"
#include "http/NetHeaderList.h"

#include <memory>
#include <string>

namespace orbelin {

class TNetEntityHeaderInfo : public TObject {
public:
    TNetEntityHeaderInfo();

    virtual void Assign(const TNetEntityHeaderInfo& source);
    virtual void ReadFromLines();
    virtual void WriteToLines();
    virtual void ResetFields();

    int ContentLength() const { return FContentLength; }
    void SetContentLength(int value);
    bool LengthKnown() const { return FLengthKnown; }

    TNetHeaderList& HeaderLines() { return FHeaderLines; }
    const TNetHeaderList& HeaderLines() const { return FHeaderLines; }
    TNetHeaderList& CustomHeaders() { return FCustomHeaders; }

    std::string CacheControl;
    std::string Connection;
    std::string ContentEncoding;
    std::string ContentLanguage;
    int ContentRangeEnd = 0;
    int ContentRangeStart = 0;
    std::string ContentType;
    std::string ContentVersion;
    TDateTime Date = 0;
    TDateTime Expires = 0;
    TDateTime LastModified = 0;
    std::string Pragma;

protected:
    void ResetEntityFields();
    void ReadEntityFields();
    void WriteEntityFields();
    void AssignEntity(const TNetEntityHeaderInfo& source);

private:
    TNetHeaderList FHeaderLines;
    TNetHeaderList FCustomHeaders;
    int FContentLength = -1;
    bool FLengthKnown = false;
};

class TNetRequestHeaderInfo : public TNetEntityHeaderInfo {
public:
    TNetRequestHeaderInfo();

    void Assign(const TNetEntityHeaderInfo& source) override;
    void ReadFromLines() override;
    void WriteToLines() override;
    void ResetFields() override;

    TNetAuthentication* Authentication() const { return FAuthentication.get(); }
    void SetAuthentication(std::unique_ptr<TNetAuthentication> value) { FAuthentication = std::move(value); }

    std::string Accept;
    std::string AcceptCharSet;
    std::string AcceptEncoding;
    std::string AcceptLanguage;
    std::string Expect; // never written
    std::string From;
    std::string Password;
    std::string Referer;
    std::string UserAgent;
    std::string Username;
    std::string Host;
    bool BasicAuthentication = false;
    std::string ProxyConnection;

private:
    void ResetRequestFields();
    std::unique_ptr<TNetAuthentication> FAuthentication;
};

class TNetResponseHeaderInfo : public TNetEntityHeaderInfo {
public:
    TNetResponseHeaderInfo();

    void ReadFromLines() override;
    void ResetFields() override;

    std::string Location;
    std::string Server;
    std::string ProxyConnection;
    TNetHeaderList ProxyAuthenticate;
    TNetHeaderList WWWAuthenticate;
};

class TNetProxyConnectionInfo : public TObject {
public:
    const std::string& ProxyServer() const { return FProxyServer; }
    void SetProxyServer(const std::string& value);
    int ProxyPort() const { return FProxyPort; }
    void SetProxyPort(int value);
    std::string ProxyUsername;
    std::string ProxyPassword;
    bool BasicAuthentication = false;

    TNetAuthentication* Authentication() const { return FAuthentication.get(); }
    void SetAuthentication(std::unique_ptr<TNetAuthentication> value) { FAuthentication = std::move(value); }

    void Clear();
    // Adds "Proxy-Authorization" when there is something to send.
    void SetHeaders(TNetHeaderList& headers);

private:
    std::string FProxyServer;
    int FProxyPort = 0;
    std::unique_ptr<TNetAuthentication> FAuthentication;
};

inline constexpr const char* SNetDefaultAccept = "text/html, */*";
inline constexpr const char* SNetDefaultUserAgent = "Mozilla/3.0 (compatible; Orbelin Net Library)";
inline constexpr const char* SNetDefaultContentType = "text/html";

} // namespace orbelin
