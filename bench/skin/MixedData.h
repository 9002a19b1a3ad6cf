#pragma once
// A deterministic 16 MiB mix of the kinds of bytes skins and documents hold:
// text, bitmap-like rows with runs and gradients, and random blocks.

#include <cstdint>
#include <random>
#include <string>

namespace orbelin::bench {

inline std::string MixedData(size_t size = 16u << 20)
{
    std::mt19937 rng(2024);
    const char* words[] = {"translate ", "skin ", "window ", "\xB7\xAD\xD2\xEB ", "caption ", "the ", "of ", "[Buttons]\r\n",
                           "Image=button.bmp\r\n", "\xD6\xD0\xCE\xC4 ", "frame ", "0x3FFF ", "\r\n"};
    std::string out;
    out.reserve(size);
    while (out.size() < size) {
        const unsigned kind = rng() % 3;
        const size_t block = 16384 + rng() % 49152;
        if (kind == 0) {
            for (size_t n = 0; n < block;) {
                const std::string word = words[rng() % 13];
                out += word;
                n += word.size();
            }
        } else if (kind == 1) {
            // 24-bit rows: flat runs, a gradient and a magenta border.
            const int width = 64 + static_cast<int>(rng() % 128);
            const uint8_t base = static_cast<uint8_t>(rng());
            for (size_t n = 0; n < block; n += static_cast<size_t>(width) * 3)
                for (int x = 0; x < width; ++x) {
                    const bool edge = x < 2 || x >= width - 2;
                    out += static_cast<char>(edge ? 255 : base + x / 8);
                    out += static_cast<char>(edge ? 0 : base);
                    out += static_cast<char>(edge ? 255 : base + static_cast<int>(n / 600));
                }
        } else {
            for (size_t n = 0; n < block; ++n)
                out += static_cast<char>(rng());
        }
    }
    out.resize(size);
    return out;
}

} // namespace orbelin::bench
