#pragma once
// A URI split into its ten text fields and rebuilt from them. Parsing is purely
// textual: nothing is decoded or validated and the port stays text.

#include "base/AnsiText.h"
#include "base/Component.h"

#include <string>

namespace orbelin {

enum class TNetURIOption { IncludeAuthInfo = 1, IncludeBookmark = 2 };

// A small set of TNetURIOption values.
class TNetURIOptions {
public:
    constexpr TNetURIOptions() = default;
    constexpr TNetURIOptions(TNetURIOption o) : FBits(static_cast<unsigned>(o)) {}
    constexpr TNetURIOptions operator|(TNetURIOptions other) const { return FromBits(FBits | other.FBits); }
    constexpr bool Has(TNetURIOption o) const { return (FBits & static_cast<unsigned>(o)) != 0; }
    static constexpr TNetURIOptions All() { return TNetURIOptions(TNetURIOption::IncludeAuthInfo) | TNetURIOption::IncludeBookmark; }

private:
    static constexpr TNetURIOptions FromBits(unsigned bits)
    {
        TNetURIOptions o;
        o.FBits = bits;
        return o;
    }
    unsigned FBits = 0;
};

class TNetURI : public TObject {
public:
    explicit TNetURI(const std::string& uri = {});

    void ParseUri(const std::string& uri);
    // Stores the full text (both options) as URI text and returns the text
    // without user part and bookmark.
    std::string UriText();
    // Raises ENetURIException when protocol or host is empty.
    std::string FullUriText(TNetURIOptions options = {}) const;

    static void NormalizeSlashes(std::string& text);
    static std::string JoinPath(const std::string& base, const std::string& path, char delimiter = '/');

    std::string URI;
    std::string Protocol;
    std::string Username;
    std::string Password;
    std::string Host;
    std::string Port;
    std::string Path;
    std::string Document;
    std::string Params;
    std::string Bookmark;

private:
    void Clear();
    void SplitPathPart(std::string work, bool absolute);
};

} // namespace orbelin
