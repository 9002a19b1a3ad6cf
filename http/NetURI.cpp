#include "http/NetURI.h"

#include "http/NetHTTPErrors.h"

namespace orbelin {

TNetURI::TNetURI(const std::string& uri)
{
    if (!uri.empty())
        ParseUri(uri);
}

void TNetURI::Clear()
{
    Protocol.clear();
    Username.clear();
    Password.clear();
    Host.clear();
    Port.clear();
    Path.clear();
    Document.clear();
    Params.clear();
    Bookmark.clear();
}

void TNetURI::NormalizeSlashes(std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(text[i])))
            ++i; // the trail byte may be 0x5C and is not a backslash
        else if (text[i] == '\\')
            text[i] = '/';
    }
}

void TNetURI::ParseUri(const std::string& uri)
{
    URI = uri;
    NormalizeSlashes(URI);
    Clear();
    std::string work = URI;
    const int k = PosFirst("://", work);
    if (k == 0) {
        SplitPathPart(std::move(work), false);
    } else {
        Protocol = work.substr(0, static_cast<size_t>(k - 1));
        work.erase(0, static_cast<size_t>(k - 1) + 3);
        std::string authority = SplitOff(work, "/");
        std::string user;
        if (const int a = PosFirst("@", authority); a > 0) {
            user = authority.substr(0, static_cast<size_t>(a - 1));
            authority.erase(0, static_cast<size_t>(a));
        }
        Username = SplitOff(user, ":");
        Password = Username.empty() ? std::string() : user;
        Host = SplitOff(authority, ":");
        Port = authority;
        SplitPathPart(std::move(work), true);
    }
    if (Bookmark.empty()) {
        std::string params = Params;
        Params = SplitOff(params, "#");
        Bookmark = params;
    }
}

// Path, document, parameters and bookmark of what follows the authority (or
// of a whole relative text).
void TNetURI::SplitPathPart(std::string work, bool absolute)
{
    int q = PosFirst("?", work);
    if (q == 0)
        q = PosFirst("=", work);
    const int s = q > 0 ? PosLast("/", work, q) : PosLast("/", work, -1);
    Path.assign(absolute ? 1 : 0, '/');
    Path.append(work, 0, static_cast<size_t>(s));
    std::string doc = work;
    if (q > 0) {
        doc = work.substr(0, static_cast<size_t>(q - 1));
        Params = work.substr(static_cast<size_t>(q - 1));
    }
    doc.erase(0, std::min(doc.size(), static_cast<size_t>(s)));
    if (absolute) {
        Document = SplitOff(doc, "#");
        Bookmark = doc;
    } else {
        Document = doc;
    }
}

std::string TNetURI::FullUriText(TNetURIOptions options) const
{
    if (Protocol.empty())
        throw ENetURIException(SNetURIProtocolEmpty);
    std::string out = Protocol + "://";
    if (!Username.empty() && options.Has(TNetURIOption::IncludeAuthInfo)) {
        out += Username;
        if (!Password.empty())
            out += ":" + Password;
        out += "@";
    }
    if (Host.empty())
        throw ENetURIException(SNetURIHostEmpty);
    out += Host;
    if (!Port.empty())
        out += ":" + Port;
    out += Path + Document + Params;
    if (!Bookmark.empty() && options.Has(TNetURIOption::IncludeBookmark))
        out += "#" + Bookmark;
    return out;
}

std::string TNetURI::UriText()
{
    URI = FullUriText(TNetURIOptions::All());
    return FullUriText();
}

std::string TNetURI::JoinPath(const std::string& base, const std::string& path, char delimiter)
{
    if (!path.empty() && path.front() == delimiter)
        return path;
    const bool keepTrailing = path.empty() || path.back() == delimiter;
    std::string work = base;
    if (!work.empty() && work.back() != delimiter)
        work += delimiter;
    work += path;

    std::string r;
    for (size_t i = 0; i < work.size(); ++i) {
        const char c = work[i];
        if (c == delimiter) {
            if (i == 0)
                r.assign(1, delimiter);
            else if (r.empty() || r.back() != delimiter)
                r += delimiter;
        } else if (c == '.' && !r.empty() && r.back() == delimiter && i + 1 < work.size() && work[i + 1] == '.') {
            r.pop_back();
            while (!r.empty() && r.back() != delimiter)
                r.pop_back();
            ++i;
        } else {
            r += c;
        }
    }
    if (r.size() != 1 && !r.empty() && r.back() == delimiter && !keepTrailing)
        r.pop_back();
    return r;
}

} // namespace orbelin
