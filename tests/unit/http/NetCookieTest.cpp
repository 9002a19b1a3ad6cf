#include "http/NetCookieManager.h"

#include "http/NetDateTime.h"
#include "http/NetHTTPErrors.h"

#include "base/Exceptions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace orbelin {
namespace {

class CookieStore : public ::testing::Test {
protected:
    std::string HeaderFor(const std::string& url, bool secure = false)
    {
        TNetURI uri(url);
        return Store.CookieHeaderFor(uri, secure);
    }
    int Filed()
    {
        int n = 0;
        TNetCookieDomainLock lock(Store.CookieCollection(), TNetCookieAccess::ReadAccess);
        for (const auto& d : lock.Index())
            n += d->Cookies.Count();
        return n;
    }
    TNetCookieManager Store{nullptr};
};

TEST_F(CookieStore, DomainCookieSentToItsHost)
{
    Store.AddSetCookie("ID=42; path=/; domain=.b.c", "a.b.c");
    EXPECT_EQ(HeaderFor("http://a.b.c/x/"), "ID=42");
}

TEST_F(CookieStore, CookieWithoutPathIsFiledButNeverSent)
{
    Store.AddSetCookie("ID=42", "a.b.c");
    EXPECT_EQ(Filed(), 1);
    EXPECT_EQ(HeaderFor("http://a.b.c/"), "");
}

TEST_F(CookieStore, ForeignDomainRejectedAndStoredCookieKept)
{
    Store.AddSetCookie("ID=1; path=/", "b.c"); // filed under b.c
    Store.AddSetCookie("ID=42; path=/; domain=b.c", "a.b.c");
    EXPECT_EQ(Filed(), 1);
    EXPECT_EQ(Store.CookieCollection().Count(), 1); // the rejected one is gone
    EXPECT_EQ(HeaderFor("http://b.c/"), "ID=1");
}

TEST_F(CookieStore, SameNameReplacesValue)
{
    Store.AddSetCookie("ID=42; path=/; domain=.b.c", "a.b.c");
    Store.AddSetCookie("ID=43; path=/; domain=.b.c", "a.b.c");
    EXPECT_EQ(Filed(), 1);
    EXPECT_EQ(Store.CookieCollection().Count(), 1);
    EXPECT_EQ(HeaderFor("http://a.b.c/"), "ID=43");
}

TEST_F(CookieStore, NameMatchIgnoresCase)
{
    Store.AddSetCookie("id=1; path=/", "h");
    Store.AddSetCookie("ID=2; path=/", "h");
    EXPECT_EQ(Filed(), 1);
    EXPECT_EQ(HeaderFor("http://h/"), "ID=2"); // the stored one takes the new text
}

TEST_F(CookieStore, LongerPathFirst)
{
    Store.AddSetCookie("A=1; path=/", "h");
    Store.AddSetCookie("B=2; path=/x/", "h");
    Store.AddSetCookie("C=3; path=/", "h");
    EXPECT_EQ(HeaderFor("http://h/x/"), "B=2; C=3; A=1");
    EXPECT_EQ(HeaderFor("http://h/y/"), "C=3; A=1");
}

TEST_F(CookieStore, SecureOnlyOnSecureConnection)
{
    Store.AddSetCookie("S=1; path=/; secure", "h");
    EXPECT_EQ(HeaderFor("http://h/"), "");
    EXPECT_EQ(HeaderFor("http://h/", true), "S=1");
}

TEST_F(CookieStore, EmptyValueNeverSent)
{
    Store.AddSetCookie("ID=; path=/", "h");
    EXPECT_EQ(Filed(), 1);
    EXPECT_EQ(HeaderFor("http://h/"), "");
}

TEST_F(CookieStore, MaxAgeZeroExpiresAtNextCleanUp)
{
    Store.AddSetCookie("ID=1; path=/; max-age=0", "h");
    ASSERT_EQ(Filed(), 1);
    EXPECT_FALSE(Store.CookieCollection().Items(0)->Expires().empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    EXPECT_EQ(HeaderFor("http://h/"), "");
    EXPECT_EQ(Filed(), 0);
    EXPECT_EQ(Store.CookieCollection().Count(), 0);
}

TEST_F(CookieStore, PastExpiresRemovedFutureKept)
{
    Store.AddSetCookie("OLD=1; path=/; expires=Sun, 06 Nov 1994 08:49:37 GMT", "h");
    Store.AddSetCookie("NEW=1; path=/; expires=Fri, 31 Dec 2100 23:59:59 GMT", "h");
    Store.AddSetCookie("BAD=1; path=/; expires=whenever", "h");
    EXPECT_EQ(HeaderFor("http://h/"), "NEW=1");
}

TEST_F(CookieStore, ReplacementKeepsNewExpiry)
{
    Store.AddSetCookie("ID=1; path=/", "h");
    Store.AddSetCookie("ID=2; path=/; expires=Sun, 06 Nov 1994 08:49:37 GMT", "h");
    ASSERT_EQ(Store.CookieCollection().Count(), 1);
    EXPECT_EQ(Store.CookieCollection().Items(0)->Expires(), "Sun, 06 Nov 1994 08:49:37 GMT");
    EXPECT_EQ(HeaderFor("http://h/"), ""); // it expired in 1994
}

TEST_F(CookieStore, ReplacementByMaxAgeKeepsExpiry)
{
    Store.AddSetCookie("ID=1; path=/", "h");
    Store.AddSetCookie("ID=2; path=/; max-age=3600", "h");
    ASSERT_EQ(Store.CookieCollection().Count(), 1);
    EXPECT_FALSE(Store.CookieCollection().Items(0)->Expires().empty());
    EXPECT_EQ(HeaderFor("http://h/"), "ID=2");
}

TEST_F(CookieStore, DomainMustEndTheHost)
{
    // A domain that merely occurs inside the host is not enough.
    Store.AddSetCookie("ID=42; path=/; domain=.b.c", "a.b.c");
    EXPECT_EQ(HeaderFor("http://x.b.c.evil.example/"), "");
    EXPECT_EQ(HeaderFor("http://xb.c/"), "");
    EXPECT_EQ(HeaderFor("http://B.C/"), "ID=42");
    EXPECT_EQ(HeaderFor("http://deep.a.B.c/"), "ID=42");
}

TEST_F(CookieStore, HostCookieNotSentToOtherHost)
{
    Store.AddSetCookie("ID=1; path=/", "a.b.c");
    EXPECT_EQ(HeaderFor("http://b.c/"), "");
    EXPECT_EQ(HeaderFor("http://a.b.c/"), "ID=1");
}

TEST_F(CookieStore, OnNewCookieMayRefuse)
{
    int calls = 0;
    Store.OnNewCookie = [&](TObject*, TNetNetscapeCookie* c, bool& accept) {
        ++calls;
        accept = c->Name != "NO";
    };
    Store.AddSetCookie("NO=1; path=/", "h");
    Store.AddSetCookie("YES=1; path=/", "h");
    Store.AddSetCookie("ID=1; path=/; domain=other", "h"); // rejected before the event
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(HeaderFor("http://h/"), "YES=1");
    EXPECT_EQ(Store.CookieCollection().Count(), 1);
}

TEST_F(CookieStore, Rfc2965Ports)
{
    Store.AddSetCookie2("A=1; path=/; Port=\"80,8080\"", "h");
    Store.AddSetCookie2("B=1; path=/", "h");
    Store.AddSetCookie2("C=1; path=/; port=8080", "h");
    ASSERT_EQ(Store.CookieCollection().Count(), 3);
    auto* a = dynamic_cast<TNetCookieRFC2965*>(Store.CookieCollection().Items(0));
    auto* b = dynamic_cast<TNetCookieRFC2965*>(Store.CookieCollection().Items(1));
    auto* c = dynamic_cast<TNetCookieRFC2965*>(Store.CookieCollection().Items(2));
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->PortList(), (std::vector<int>{80, 8080}));
    EXPECT_EQ(b->PortList(), (std::vector<int>{80}));
    EXPECT_TRUE(c->PortList().empty());
}

TEST_F(CookieStore, Rfc2965BadPortRaisesConversionError)
{
    EXPECT_THROW(Store.AddSetCookie2("A=1; Port=\"80,x\"", "h"), EConvertError);
    EXPECT_EQ(Store.CookieCollection().Count(), 0);
}

TEST_F(CookieStore, DestroyFiresOnDestroyAfterCleanUp)
{
    int seen = -1;
    {
        TNetCookieManager store(nullptr);
        store.AddSetCookie("OLD=1; path=/; expires=Sun, 06 Nov 1994 08:49:37 GMT", "h");
        store.AddSetCookie("KEEP=1; path=/", "h");
        store.OnDestroy = [&](TObject*, TNetCookies* cookies) { seen = cookies->Count(); };
    }
    EXPECT_EQ(seen, 1);
}

// ---- cookie objects ----

TEST(NetCookie, SetPortAtBounds)
{
    TNetCookies cookies;
    TNetCookieRFC2965* c = cookies.NewRfc2965Cookie();
    c->SetPortAt(0, 1);
    c->SetPortAt(1, 2);
    c->SetPortAt(0, 3);
    EXPECT_EQ(c->PortList(), (std::vector<int>{3, 2}));
    for (int bad : {3, -1}) {
        try {
            c->SetPortAt(bad, 9);
            FAIL() << bad;
        } catch (const ENetException& e) {
            EXPECT_EQ(e.Message(), "Index out of range.");
        }
    }
}

TEST(NetCookie, ParsingAndHeaderForm)
{
    TNetCookies cookies;
    TNetCookieRFC2109* c = cookies.NewRfc2109Cookie();
    c->ParseCookieText("SID=abc=def ; Path=\"/a/\"; Domain=.example.com; secure; Comment=hi; Version=1");
    EXPECT_EQ(c->Name, "SID");
    EXPECT_EQ(c->Value, "abc=def");
    EXPECT_EQ(c->Path, "/a/");
    EXPECT_EQ(c->Domain, ".example.com");
    EXPECT_TRUE(c->Secure);
    EXPECT_EQ(c->Comment, "hi");
    EXPECT_EQ(c->Version, "1");
    EXPECT_EQ(c->Format, TNetCookieFormat::cfNetscape); // no expiry given
    EXPECT_EQ(c->ServerCookieText(), "SID=abc=def; path=/a/; domain=.example.com; secure; comment=hi; version=1");
    EXPECT_EQ(c->ClientCookieText(), "SID=abc=def");
}

TEST(NetCookie, ExpiresKeepsRfcFormatAndHidesIt)
{
    TNetCookies cookies;
    TNetCookieRFC2109* c = cookies.NewRfc2109Cookie();
    c->ParseCookieText("A=1; expires=Fri, 31 Dec 2100 23:59:59 GMT");
    EXPECT_EQ(c->Format, TNetCookieFormat::cfRFC2109);
    EXPECT_EQ(c->Expires(), "Fri, 31 Dec 2100 23:59:59 GMT");
    EXPECT_EQ(c->MaxAge, -1);
    EXPECT_EQ(c->BuildHeaderForm(), "A=1");
}

TEST(NetCookie, MaxAgeBecomesExpires)
{
    TNetCookies cookies;
    TNetCookieRFC2109* c = cookies.NewRfc2109Cookie();
    c->ParseCookieText("A=1; max-age=7200");
    EXPECT_FALSE(c->Expires().empty());
    EXPECT_NEAR(static_cast<double>(c->MaxAge), 7200.0, 2.0);
    EXPECT_NE(c->BuildHeaderForm().find("; expires="), std::string::npos);
    TNetCookieRFC2109* bad = cookies.NewRfc2109Cookie();
    bad->ParseCookieText("A=1; max-age=soon");
    EXPECT_EQ(bad->MaxAge, -1);
    EXPECT_TRUE(bad->Expires().empty());
}

TEST(NetCookie, SameTextParsedTwiceDoesNothing)
{
    TNetCookies cookies;
    TNetCookieRFC2109* c = cookies.NewRfc2109Cookie();
    c->ParseCookieText("A=1; path=/");
    c->Path = "/changed";
    c->ParseCookieText("A=1; path=/");
    EXPECT_EQ(c->Path, "/changed");
}

TEST(NetCookie, FirstItemWithoutEquals)
{
    TNetCookies cookies;
    TNetCookieRFC2109* c = cookies.NewRfc2109Cookie();
    c->ParseCookieText("novalue; path=/");
    EXPECT_EQ(c->Name, "");
    EXPECT_EQ(c->Value, "");
    EXPECT_EQ(c->Path, "/");
    c->ParseCookieText("");
    EXPECT_EQ(c->Name, "");
}

struct AcceptCase {
    const char* Name;
    const char* Host;
    const char* Domain;
    bool Acceptable;
};

const AcceptCase kAccepts[] = {
    {"ParentDomainWithDot", "a.b.c", ".b.c", true},
    {"ParentDomainWithoutDot", "a.b.c", "b.c", false},
    {"SameHost", "a.b.c", "a.b.c", true},
    {"GrandParent", "a.b.c", ".c", false},
    {"IpExact", "10.0.0.1", "10.0.0.1", true},
    {"IpOther", "10.0.0.1", ".0.0.1", false},
    {"SingleLabelHost", "localhost", "localhost", true},
    {"DottedHostIgnoresCase", ".a.b", ".A.B", true},
};

class CookieAcceptable : public ::testing::TestWithParam<AcceptCase> {};

TEST_P(CookieAcceptable, Result)
{
    TNetCookies cookies;
    TNetCookieRFC2109* c = cookies.NewRfc2109Cookie();
    c->Domain = GetParam().Domain;
    EXPECT_EQ(c->AcceptableFrom(GetParam().Host), GetParam().Acceptable);
}

INSTANTIATE_TEST_SUITE_P(Table, CookieAcceptable, ::testing::ValuesIn(kAccepts),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(NetCookie, HostTests)
{
    EXPECT_TRUE(IsIPv4Quad(" 1.2.3.4 "));
    EXPECT_TRUE(IsIPv4Quad("1.2.3.4.junk"));
    EXPECT_FALSE(IsIPv4Quad("1.2.3"));
    EXPECT_FALSE(IsIPv4Quad("1.2.3.256"));
    EXPECT_FALSE(IsIPv4Quad("a.b.c.d"));
    EXPECT_FALSE(IsHostName(".b.c"));
    EXPECT_TRUE(IsHostName("b.c"));
    EXPECT_EQ(DomainPart("a.b.c"), ".b.c");
    EXPECT_EQ(DomainPart("host"), "host");
}

// ---- the lock ----

TEST(ReadWriteLock, WriterMayReenterAndExcludesReaders)
{
    TNetCookies cookies;
    cookies.LockDomains(TNetCookieAccess::WriteAccess);
    cookies.LockDomains(TNetCookieAccess::WriteAccess); // the writer takes it again
    cookies.LockDomains(TNetCookieAccess::ReadAccess);
    std::atomic<bool> readerIn{false};
    std::thread reader([&] {
        TNetCookieDomainLock lock(cookies, TNetCookieAccess::ReadAccess);
        readerIn = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(readerIn);
    cookies.UnlockDomains(TNetCookieAccess::ReadAccess);
    cookies.UnlockDomains(TNetCookieAccess::WriteAccess);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(readerIn);
    cookies.UnlockDomains(TNetCookieAccess::WriteAccess);
    reader.join();
    EXPECT_TRUE(readerIn);
}

TEST(ReadWriteLock, ReadersShare)
{
    TNetCookies cookies;
    cookies.LockDomains(TNetCookieAccess::ReadAccess);
    std::atomic<bool> readerIn{false};
    std::thread reader([&] {
        TNetCookieDomainLock lock(cookies, TNetCookieAccess::ReadAccess);
        readerIn = true;
    });
    reader.join();
    EXPECT_TRUE(readerIn);
    cookies.UnlockDomains(TNetCookieAccess::ReadAccess);
}

} // namespace
} // namespace orbelin
