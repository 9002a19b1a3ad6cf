#pragma once
// Header lines "Name: value" with lookup by name (ignoring case), folding of
// long values on write and joining of continuation lines on read.

#include "base/StringList.h"

#include <string>
#include <string_view>
#include <vector>

namespace orbelin {

class TNetHeaderList : public TStringList {
public:
    std::string Separator = ": ";
    bool JoinFolded = true;
    bool FoldOnWrite = true;
    int FoldWidth = 78;

    // Name of a line: its text before the first separator character (the
    // separator without its trailing blanks); empty when there is none.
    std::string LineName(int index) const;
    int FindName(std::string_view name) const;
    std::string ValueOfLine(int index) const;
    std::string ValueOf(std::string_view name) const;
    // Replaces (or appends) the name's line; an empty value removes it.
    void PutValue(std::string_view name, std::string_view value);
    // Appends every value of the name, in list order; nothing when dest is null.
    void ExtractValues(std::string_view name, TStrings* dest) const;

    // Pieces of line when folded at width; every piece after the first
    // begins with a blank.
    static std::vector<std::string> FoldLine(std::string_view line, int width);

private:
    std::string NameDelimiter() const;
    static bool IsContinuation(const std::string& line);
    void DeleteContinuations(int index);
};

} // namespace orbelin
