#include "ChineseConverter.h"

#include <algorithm>
#include <memory>
#include <opencc.h>
#include <utility>

namespace orbelin::service {

namespace {

const opencc_t invalidHandle = reinterpret_cast<opencc_t>(-1);

struct OpenccStringFree {
    void operator()(char* text) const { opencc_convert_utf8_free(text); }
};

}  // namespace

ChineseConverter::ChineseConverter(std::string config) : config_(std::move(config)) {}

ChineseConverter::~ChineseConverter()
{
    if (handle_ != nullptr) {
        opencc_close(handle_);
    }
}

bool ChineseConverter::open()
{
    if (handle_ == nullptr && !failed_) {
        const opencc_t handle = opencc_open(config_.c_str());
        if (handle == invalidHandle || handle == nullptr) {
            failed_ = true;
        } else {
            handle_ = handle;
        }
    }
    return handle_ != nullptr;
}

std::optional<std::string> ChineseConverter::convert(std::string_view utf8Text)
{
    // OpenCC's converter is not documented as safe for concurrent use.
    const std::lock_guard lock(mutex_);
    if (!open()) {
        return std::nullopt;
    }
    // OpenCC returns C strings, so text around a NUL byte is converted piece by piece.
    std::string result;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t nul = std::min(utf8Text.find('\0', begin), utf8Text.size());
        if (nul > begin) {
            const std::unique_ptr<char, OpenccStringFree> converted(
                opencc_convert_utf8(handle_, utf8Text.data() + begin, nul - begin));
            if (!converted) {
                return std::nullopt;
            }
            result.append(converted.get());
        }
        if (nul == utf8Text.size()) {
            return result;
        }
        result.push_back('\0');
        begin = nul + 1;
    }
}

}  // namespace orbelin::service
