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

IoResult ChineseConverter::convert(std::string_view utf8Text, Deadline deadline)
{
    // OpenCC's converter is not documented as safe for concurrent use.
    std::unique_lock lock(mutex_, std::defer_lock);
    if (!lock.try_lock_until(deadline)) {
        return IoResult{IoStatus::timedOut, {}};
    }
    if (!open()) {
        return IoResult{IoStatus::failed, {}};
    }
    // OpenCC takes C strings, so text around a NUL byte is converted piece by
    // piece; pieces also end after each line, to look at the clock between.
    IoResult result{IoStatus::done, {}};
    std::size_t begin = 0;
    while (begin < utf8Text.size()) {
        if (Clock::now() >= deadline) {
            return IoResult{IoStatus::timedOut, {}};
        }
        const std::size_t stop = std::min(utf8Text.find_first_of(std::string_view("\0\n", 2), begin), utf8Text.size());
        if (stop > begin) {
            const std::unique_ptr<char, OpenccStringFree> converted(
                opencc_convert_utf8(handle_, utf8Text.data() + begin, stop - begin));
            if (!converted) {
                return IoResult{IoStatus::failed, {}};
            }
            result.output.append(converted.get());
        }
        if (stop < utf8Text.size()) {
            result.output.push_back(utf8Text[stop]);
        }
        begin = stop + 1;
    }
    return result;
}

}  // namespace orbelin::service
