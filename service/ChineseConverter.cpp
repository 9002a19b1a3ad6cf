#include "ChineseConverter.h"

#include "TextPieces.h"

#include <algorithm>
#include <memory>
#include <opencc.h>
#include <utility>

namespace orbelin::service {

namespace {

const opencc_t invalidHandle = reinterpret_cast<opencc_t>(-1);

// Short enough that a waiting conversion gets its turn soon.
constexpr std::size_t pieceBytes = 4096;

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
    IoResult result{IoStatus::done, {}};
    for (const std::string_view piece : splitIntoPieces(utf8Text, pieceBytes)) {
        // OpenCC's converter is not documented as safe for concurrent use.
        std::unique_lock lock(mutex_, std::defer_lock);
        if (!lock.try_lock_until(deadline)) {
            return IoResult{IoStatus::timedOut, {}};
        }
        if (aborted_ || !open() || !convertPiece(piece, result.output)) {
            return IoResult{IoStatus::failed, {}};
        }
        lock.unlock();
        if (Clock::now() >= deadline) {
            return IoResult{IoStatus::timedOut, {}};
        }
    }
    return result;
}

bool ChineseConverter::convertPiece(std::string_view piece, std::string& out)
{
    // OpenCC takes C strings, so text around a NUL byte is converted apart.
    std::size_t begin = 0;
    while (begin < piece.size()) {
        const std::size_t stop = std::min(piece.find('\0', begin), piece.size());
        if (stop > begin) {
            const std::unique_ptr<char, OpenccStringFree> converted(
                opencc_convert_utf8(handle_, piece.data() + begin, stop - begin));
            if (!converted) {
                return false;
            }
            out.append(converted.get());
        }
        if (stop < piece.size()) {
            out.push_back('\0');
        }
        begin = stop + 1;
    }
    return true;
}

}  // namespace orbelin::service
