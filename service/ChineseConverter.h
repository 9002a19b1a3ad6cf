// Simplified <-> Traditional Chinese through the OpenCC library.
#pragma once

#include <mutex>
#include <optional>
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

    // Empty when the configuration cannot be loaded or the conversion fails.
    std::optional<std::string> convert(std::string_view utf8Text);

private:
    bool open();

    const std::string config_;
    std::mutex mutex_;
    void* handle_ = nullptr;  // opencc_t
    bool failed_ = false;
};

}  // namespace orbelin::service
