#include "http/NetHTTPHeaderInfo.h"

#include "base/Exceptions.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace orbelin;
    if (size < 1)
        return 0;
    const int width = 8 + data[0] % 100;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    TNetResponseHeaderInfo response;
    response.HeaderLines().SetText(text);
    try {
        response.ReadFromLines();
    } catch (const EConvertError&) {
        // Content-Range numbers and numeric Expires may be refused.
    }
    TNetHeaderList list;
    list.FoldWidth = width;
    list.SetText(text);
    for (int i = 0; i < list.Count() && i < 16; ++i) {
        const std::string name = list.LineName(i);
        const std::string value = list.ValueOfLine(i);
        list.PutValue(name.empty() ? "X" : name, value);
    }
    // Folded lines read back as the value that was put.
    const std::string value = list.Count() > 0 ? list.ValueOfLine(0) : text;
    TNetHeaderList folded;
    folded.FoldWidth = width;
    folded.PutValue("Name", value);
    (void)folded.ValueOf("Name");
    TNetRequestHeaderInfo request;
    request.HeaderLines().SetText(text);
    try {
        request.ReadFromLines();
        request.WriteToLines();
    } catch (const EConvertError&) {
    }
    return 0;
}
