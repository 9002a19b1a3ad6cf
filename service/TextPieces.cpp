#include "TextPieces.h"

#include <array>

namespace orbelin::service {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::size_t pastBlanks(std::string_view text, std::size_t at)
{
    while (at < text.size() && isBlank(text[at])) {
        ++at;
    }
    return at;
}

// The cut after the last mark of the window, with the blanks that follow
// it; 0 when there is none at or after low.
std::size_t cutAfter(std::string_view window, std::size_t low, std::string_view mark)
{
    const std::size_t at = window.rfind(mark);
    if (at == std::string_view::npos) {
        return 0;
    }
    const std::size_t cut = pastBlanks(window, at + mark.size());
    return cut >= low ? cut : 0;
}

std::size_t characterBoundary(std::string_view text, std::size_t at)
{
    while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0u) == 0x80u) {
        --at;
    }
    return at;
}

std::size_t bestCut(std::string_view window, std::string_view rest)
{
    const std::size_t low = window.size() / 2;
    // Paragraph, line, sentence (also the full-width marks of Chinese).
    static constexpr std::array<std::string_view, 9> marks{
        "\n\n", "\r\n\r\n", "\n", ". ", "! ", "? ", "\xE3\x80\x82", "\xEF\xBC\x81", "\xEF\xBC\x9F"};
    for (const std::string_view mark : marks) {
        if (const std::size_t cut = cutAfter(window, low, mark); cut > 0) {
            return cut;
        }
    }
    for (std::size_t at = window.size(); at > low; --at) {
        if (isBlank(window[at - 1])) {
            return at;
        }
    }
    const std::size_t boundary = characterBoundary(rest, window.size());
    return boundary > 0 ? boundary : window.size();
}

}  // namespace

std::vector<std::string_view> splitIntoPieces(std::string_view text, std::size_t limit)
{
    std::vector<std::string_view> pieces;
    while (text.size() > limit) {
        const std::size_t cut = bestCut(text.substr(0, limit), text);
        pieces.push_back(text.substr(0, cut));
        text.remove_prefix(cut);
    }
    if (!text.empty() || pieces.empty()) {
        pieces.push_back(text);
    }
    return pieces;
}

}  // namespace orbelin::service
