// Simplified <-> Traditional Chinese through the OpenCC library.
#pragma once

#include "PipeIo.h"

#include <atomic>
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
    // loaded, the conversion fails or the converter was aborted; timedOut
    // when the deadline passes first. The text is converted in pieces (cut
    // at line and sentence ends, which OpenCC's phrases never cross), and
    // conversions take turns between pieces, so a long text does not hold
    // up a short one.
    IoResult convert(std::string_view utf8Text, Deadline deadline);

    // Makes conversions in progress and later ones fail (on shutdown).
    void abort() noexcept { aborted_ = true; }

private:
    bool open();
    bool convertPiece(std::string_view piece, std::string& out);  // with mutex_ held

    const std::string config_;
    std::timed_mutex mutex_;
    void* handle_ = nullptr;  // opencc_t
    bool failed_ = false;
    std::atomic<bool> aborted_ = false;
};

}  // namespace orbelin::service
