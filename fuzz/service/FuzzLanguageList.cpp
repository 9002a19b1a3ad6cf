// An upstream server's answer to GET /languages.
#include "Languages.h"
#include "UpstreamLanguages.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace orbelin::service;
    const auto list = UpstreamLanguages::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (list) {
        for (const Language source : {Language::en, Language::zhCn, Language::pt}) {
            for (const Language target : {Language::de, Language::zhTw, Language::en}) {
                (void)list->pair(source, target);
            }
        }
    }
    return 0;
}
