#pragma once
// A numeric reply of a line protocol ("250-first", "250 last").

#include "base/StringList.h"

#include <string>

namespace orbelin {

class TNetRFCReply {
public:
    int NumericCode() const noexcept { return FNumericCode; }
    // A positive code also sets TextCode to its decimal text.
    void SetNumericCode(int code);
    const std::string& TextCode() const noexcept { return FTextCode; }
    // A non-empty text also sets NumericCode (0 when not numeric).
    void SetTextCode(const std::string& code);

    TStringList Text;

    void Clear();
    void ParseReply(const TStringList& lines);

private:
    int FNumericCode = 0;
    std::string FTextCode;
};

} // namespace orbelin
