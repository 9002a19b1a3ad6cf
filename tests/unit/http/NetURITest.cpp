#include "http/NetURI.h"

#include "http/NetHTTPErrors.h"

#include <gtest/gtest.h>

namespace orbelin {
namespace {

struct UriCase {
    const char* Name;
    const char* Text;
    const char* Protocol;
    const char* Username;
    const char* Password;
    const char* Host;
    const char* Port;
    const char* Path;
    const char* Document;
    const char* Params;
    const char* Bookmark;
};

const UriCase kCases[] = {
    {"HostOnly", "proto://h/", "proto", "", "", "h", "", "/", "", "", ""},
    {"NothingAfterAuthority", "proto://h", "proto", "", "", "h", "", "/", "", "", ""},
    {"PortQueryFragment", "proto://h:8080/x/y?q=1&r=2#frag", "proto", "", "", "h", "8080", "/x/", "y", "?q=1&r=2", "frag"},
    {"BookmarkBeforeQuery", "proto://h/doc#top?x", "proto", "", "", "h", "", "/", "doc", "?x", "top"},
    {"FullExample", "proto://u:p@h:81/a/b/c.cgi?x=1#m", "proto", "u", "p", "h", "81", "/a/b/", "c.cgi", "?x=1", "m"},
    {"EmptyUserPart", "proto://@h/", "proto", "", "", "h", "", "/", "", "", ""},
    {"UserWithoutPassword", "proto://u@h/", "proto", "u", "", "h", "", "/", "", "", ""},
    {"UserPartStartsWithColon", "proto://:secret@h/", "proto", "", "", "h", "", "/", "", "", ""},
    {"Backslashes", "proto:\\\\h\\a\\b.htm", "proto", "", "", "h", "", "/a/", "b.htm", "", ""},
    {"Relative", "a/b.htm?x=1", "", "", "", "", "", "a/", "b.htm", "?x=1", ""},
    {"RelativeWithBookmarkInParams", "/p/d?x#frag", "", "", "", "", "", "/p/", "d", "?x", "frag"},
    {"RelativeDocumentKeepsHash", "/p/d#frag", "", "", "", "", "", "/p/", "d#frag", "", ""},
    {"EqualsStartsParameters", "proto://h/a/b=c/d", "proto", "", "", "h", "", "/a/", "b", "=c/d", ""},
    {"PortNotValidated", "proto://h:abc/", "proto", "", "", "h", "abc", "/", "", "", ""},
    {"QueryWithSlashes", "proto://h/a?u=/x/y", "proto", "", "", "h", "", "/", "a", "?u=/x/y", ""},
};

class UriParse : public ::testing::TestWithParam<UriCase> {};

TEST_P(UriParse, Fields)
{
    const UriCase& c = GetParam();
    TNetURI uri(c.Text);
    EXPECT_EQ(uri.Protocol, c.Protocol);
    EXPECT_EQ(uri.Username, c.Username);
    EXPECT_EQ(uri.Password, c.Password);
    EXPECT_EQ(uri.Host, c.Host);
    EXPECT_EQ(uri.Port, c.Port);
    EXPECT_EQ(uri.Path, c.Path);
    EXPECT_EQ(uri.Document, c.Document);
    EXPECT_EQ(uri.Params, c.Params);
    EXPECT_EQ(uri.Bookmark, c.Bookmark);
}

INSTANTIATE_TEST_SUITE_P(Table, UriParse, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(NetURI, ReparseClearsEveryField)
{
    TNetURI uri("proto://u:p@h:81/a/b/c.cgi?x=1#m");
    uri.ParseUri("x/");
    EXPECT_EQ(uri.Protocol, "");
    EXPECT_EQ(uri.Username, "");
    EXPECT_EQ(uri.Host, "");
    EXPECT_EQ(uri.Port, "");
    EXPECT_EQ(uri.Bookmark, "");
    EXPECT_EQ(uri.Path, "x/");
}

TEST(NetURI, EmptyConstructionLeavesFieldsEmpty)
{
    TNetURI uri;
    EXPECT_EQ(uri.URI, "");
    EXPECT_EQ(uri.Path, "");
}

TEST(NetURI, NormalizeSlashesSkipsTrailBytes)
{
    // 0x5C is a trail byte of a GBK character here, not a backslash.
    std::string text = "a\\\x81\x5C" "b\\";
    TNetURI::NormalizeSlashes(text);
    EXPECT_EQ(text, "a/\x81\x5C" "b/");
}

TEST(NetURI, ParseStoresNormalizedText)
{
    TNetURI uri("proto:\\\\h\\a");
    EXPECT_EQ(uri.URI, "proto://h/a");
}

TEST(NetURI, FullTextRoundTrip)
{
    const std::string text = "proto://u:p@h:81/a/b/c.cgi?x=1#m";
    TNetURI uri(text);
    EXPECT_EQ(uri.FullUriText(TNetURIOptions::All()), text);
    EXPECT_EQ(uri.FullUriText(), "proto://h:81/a/b/c.cgi?x=1");
    EXPECT_EQ(uri.FullUriText(TNetURIOption::IncludeBookmark), "proto://h:81/a/b/c.cgi?x=1#m");
    EXPECT_EQ(uri.FullUriText(TNetURIOption::IncludeAuthInfo), "proto://u:p@h:81/a/b/c.cgi?x=1");
}

TEST(NetURI, UriTextStoresFullText)
{
    TNetURI uri("proto://u:p@h:81/a/b/c.cgi?x=1#m");
    uri.URI = "changed";
    EXPECT_EQ(uri.UriText(), "proto://h:81/a/b/c.cgi?x=1");
    EXPECT_EQ(uri.URI, "proto://u:p@h:81/a/b/c.cgi?x=1#m");
}

TEST(NetURI, UserWithoutPasswordHasNoColon)
{
    TNetURI uri("proto://u@h/");
    EXPECT_EQ(uri.FullUriText(TNetURIOptions::All()), "proto://u@h/");
}

TEST(NetURI, RelativeTextHasNoProtocol)
{
    TNetURI uri("a/b.htm?x=1");
    try {
        uri.UriText();
        FAIL() << "no exception";
    } catch (const ENetURIException& e) {
        EXPECT_EQ(e.Message(), "Protocol field is empty");
    }
}

TEST(NetURI, EmptyHostRaises)
{
    TNetURI uri;
    uri.Protocol = "http";
    try {
        uri.FullUriText();
        FAIL() << "no exception";
    } catch (const ENetURIException& e) {
        EXPECT_EQ(e.Message(), "Host field is empty");
    }
}

struct JoinCase {
    const char* Name;
    const char* Base;
    const char* Path;
    const char* Result;
};

const JoinCase kJoins[] = {
    {"Document", "/a/b/", "c.htm", "/a/b/c.htm"},
    {"ParentDirectory", "/a/b/", "../c/", "/a/c/"},
    {"EmptyPathKeepsTrailing", "/a/b", "", "/a/b/"},
    {"AbsolutePath", "/a/b/", "/x", "/x"},
    {"SingleDotKept", "/a/", "./c", "/a/./c"},
    {"RunsCollapse", "/a//b/", "c//d", "/a/b/c/d"},
    {"ParentAtRoot", "/", "../x", "/x"},
    {"TwoParents", "/a/b/c/", "../../d", "/a/d"},
    {"EmptyBoth", "", "", ""},
    {"RootStays", "/", "", "/"},
    {"NoTrailingAdded", "/a", "b", "/a/b"},
};

class UriJoin : public ::testing::TestWithParam<JoinCase> {};

TEST_P(UriJoin, Result)
{
    const JoinCase& c = GetParam();
    EXPECT_EQ(TNetURI::JoinPath(c.Base, c.Path), c.Result);
}

INSTANTIATE_TEST_SUITE_P(Table, UriJoin, ::testing::ValuesIn(kJoins),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace orbelin
