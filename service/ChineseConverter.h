// Simplified <-> Traditional Chinese through the OpenCC library.
#pragma once

#include "PipeIo.h"

#include <mutex>
#include <string>
#include <string_view>

namespace orbelin::service {

class ChineseConverter {
public:
    // config: an OpenCC configuration such as "s2tw.json", found in OpenCC's
    // data directory when it is a bare name. Loaded on first use.
    explicit ChineseConverter(std::string config);
    ChineseConverter(const ChineseConverter&) = delete;
    ChineseConverter& operator=(const ChineseConverter&) = delete;
    ~ChineseConverter();

    // done with the converted text; failed when the configuration cannot be
    // loaded or the conversion fails; timedOut when the deadline passes
    // while waiting for another conversion or between two lines (a line is
    // converted whole, as OpenCC's phrases never cross one).
    IoResult convert(std::string_view utf8Text, Deadline deadline);

private:
    bool open();

    const std::string config_;
    std::timed_mutex mutex_;
    void* handle_ = nullptr;  // opencc_t
    bool failed_ = false;
};

}  // namespace orbelin::service
