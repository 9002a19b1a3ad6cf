#include "net/NetRFCReply.h"

#include "base/AnsiText.h"

namespace orbelin {

void TNetRFCReply::SetNumericCode(int code)
{
    FNumericCode = code;
    if (code > 0)
        FTextCode = IntToStr(code);
}

void TNetRFCReply::SetTextCode(const std::string& code)
{
    FTextCode = code;
    if (!code.empty())
        FNumericCode = StrToIntDef(code, 0);
}

void TNetRFCReply::Clear()
{
    FNumericCode = 0;
    FTextCode.clear();
    Text.Clear();
}

void TNetRFCReply::ParseReply(const TStringList& lines)
{
    Clear();
    if (lines.Empty())
        return;
    std::string code = Trim(Copy(lines[0], 1, 4));
    if (code.size() == 4 && code[3] == '-')
        code.resize(3);
    SetTextCode(code);
    for (const std::string& line : lines.Lines())
        Text.Add(Copy(line, 5, static_cast<int>(line.size())));
}

} // namespace orbelin
