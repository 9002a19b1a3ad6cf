#pragma once
// Cookies in the Netscape, RFC 2109 and RFC 2965 forms, and the collection
// that owns them, indexed by domain and name.

#include "base/Component.h"
#include "base/ReadWriteLock.h"
#include "base/StringList.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orbelin {

class TNetCookies;

enum class TNetCookieFormat { cfNetscape = 0, cfRFC2109 = 1, cfRFC2965 = 2 };

class TNetNetscapeCookie : public TObject {
public:
    explicit TNetNetscapeCookie(TNetCookies* collection);

    // Header form of the cookie (name=value and its attributes).
    virtual std::string BuildHeaderForm() const;
    virtual void SetExpiry(const std::string& text);
    virtual std::string ServerCookieText() const { return BuildHeaderForm(); }
    virtual std::string ClientCookieText() const { return Name + "=" + Value; }
    virtual void LoadAttributes(const TStrings& attributes);
    virtual bool AcceptableFrom(const std::string& host) const;

    void ParseCookieText(const std::string& text);
    // Takes another cookie's state through its header form and its format;
    // the expiry of the source is kept as well.
    virtual void CopyFrom(const TNetNetscapeCookie& source);

    TNetCookies* Collection() const { return FCollection; }
    const std::string& CookieText() const { return FCookieText; }
    const std::string& Expires() const { return FExpires; }

    std::string Domain;
    std::string Name;
    std::string Path;
    bool Secure = false;
    std::string Value;
    TNetCookieFormat Format = TNetCookieFormat::cfNetscape;

protected:
    // Value of the first NAME=value attribute (name ignoring case).
    static std::string Attribute(const TStrings& attributes, std::string_view name);
    static bool HasFlag(const TStrings& attributes, std::string_view flag);
    static void AppendProperty(std::string& text, std::string_view name, const std::string& value);

    std::string FExpires;

private:
    TNetCookies* FCollection;
    std::string FCookieText;
};

class TNetCookieRFC2109 : public TNetNetscapeCookie {
public:
    explicit TNetCookieRFC2109(TNetCookies* collection);

    std::string BuildHeaderForm() const override;
    void SetExpiry(const std::string& text) override;
    std::string ClientCookieText() const override { return TNetNetscapeCookie::ClientCookieText(); }
    void LoadAttributes(const TStrings& attributes) override;
    void CopyFrom(const TNetNetscapeCookie& source) override;

    int64_t MaxAge = -1;
    std::string Version;
    std::string Comment;
};

class TNetCookieRFC2965 : public TNetCookieRFC2109 {
public:
    explicit TNetCookieRFC2965(TNetCookies* collection);

    std::string BuildHeaderForm() const override { return TNetCookieRFC2109::BuildHeaderForm(); }
    void LoadAttributes(const TStrings& attributes) override;

    // The index may be at most one past the end; raises ENetException
    // "Index out of range." otherwise.
    void SetPortAt(int index, int port);
    const std::vector<int>& PortList() const { return FPortList; }

    std::string CommentURL;
    bool Discard = false;

private:
    std::vector<int> FPortList;
};

// Cookies of one domain by name, in filing order (not owned).
class TNetCookieList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    int IndexOf(std::string_view name) const;
    TNetNetscapeCookie* Cookie(int index) const { return FItems.at(static_cast<size_t>(index)).second; }
    const std::string& Name(int index) const { return FItems.at(static_cast<size_t>(index)).first; }
    void Add(std::string name, TNetNetscapeCookie* cookie) { FItems.emplace_back(std::move(name), cookie); }
    void Delete(int index) { FItems.erase(FItems.begin() + index); }
    bool Remove(const TNetNetscapeCookie* cookie);

private:
    std::vector<std::pair<std::string, TNetNetscapeCookie*>> FItems;
};

// Domains in the order they were first filed, each with its cookies.
struct TNetCookieDomain {
    std::string Domain;
    TNetCookieList Cookies;
};
using TNetCookieDomainIndex = std::vector<std::unique_ptr<TNetCookieDomain>>;

enum class TNetCookieAccess { ReadAccess, WriteAccess };

class TNetCookies : public TObject {
public:
    TNetCookies() = default;
    ~TNetCookies() override;

    TNetCookieRFC2109* NewRfc2109Cookie();
    TNetCookieRFC2965* NewRfc2965Cookie();
    // Files the cookie under its domain and name, or merges it into the stored
    // cookie of that name (then the new one is destroyed).
    void StoreCookie(TNetNetscapeCookie* cookie);
    // Takes the cookie out of its domain list and frees it.
    void DestroyCookie(TNetNetscapeCookie* cookie);

    TNetCookieDomainIndex& LockDomains(TNetCookieAccess access);
    void UnlockDomains(TNetCookieAccess access);

    int Count() const { return static_cast<int>(FItems.size()); }
    TNetNetscapeCookie* Items(int index) const { return FItems.at(static_cast<size_t>(index)).get(); }

private:
    template <class T>
    T* Adopt(std::unique_ptr<T> cookie);

    std::vector<std::unique_ptr<TNetNetscapeCookie>> FItems;
    TNetCookieDomainIndex FDomainIndex;
    TReadWriteLock FLock;
};

// Holds the lock of a cookie collection for one scope.
class TNetCookieDomainLock {
public:
    TNetCookieDomainLock(TNetCookies& cookies, TNetCookieAccess access)
        : FCookies(cookies), FAccess(access), FIndex(cookies.LockDomains(access))
    {
    }
    ~TNetCookieDomainLock() { FCookies.UnlockDomains(FAccess); }
    TNetCookieDomainLock(const TNetCookieDomainLock&) = delete;
    TNetCookieDomainLock& operator=(const TNetCookieDomainLock&) = delete;
    TNetCookieDomainIndex& Index() { return FIndex; }

private:
    TNetCookies& FCookies;
    TNetCookieAccess FAccess;
    TNetCookieDomainIndex& FIndex;
};

// Host tests of the domain check.
bool IsIPv4Quad(std::string_view text);
bool IsHostName(std::string_view text);
std::string DomainPart(const std::string& host);
// True when cookies of domain may be sent to host: the host equals the domain
// without its leading dot, or ends with "." and that text (ignoring case).
bool DomainMatchesHost(std::string_view domain, std::string_view host);

} // namespace orbelin
