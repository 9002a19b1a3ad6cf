#include "ResultPage.h"

#include <algorithm>
#include <cctype>

namespace orbelin::service {

namespace {

// Nothing before the result tag may contain the marker or a "</textarea>".
// It is plain ASCII, so that byte and character offsets agree up to the text.
constexpr std::string_view pageHead =
    "<!DOCTYPE html>\n"
    "<html lang=\"zh-CN\">\n"
    "<head>\n"
    "<meta charset=\"utf-8\">\n"
    "<title>Orbelin local translation</title>\n"
    "</head>\n"
    "<body>\n"
    "<form name=\"wl_form\" method=\"post\" action=\"/wl/translate\">\n"
    "<textarea name=";

// From the marker's opening quote to the end of the start tag: the text
// begins right after it, at the offset the client counts.
constexpr std::string_view resultTagTail =
    "\"wl_result\" id=\"wl_result\" class=\"result\" rows=\"16\" cols=\"100\" wrap=\"soft\" "
    "readonly=\"readonly\" spellcheck=\"false\" dir=\"auto\">";
static_assert(resultTagTail.size() == resultOffset);
static_assert(resultTagTail.starts_with(resultMarker));

constexpr std::string_view pageTail =
    "</textarea>\n"
    "</form>\n"
    "</body>\n"
    "</html>\n";

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

}  // namespace

std::string breakTextareaEnds(std::string_view text)
{
    constexpr std::string_view closing = "</textarea";
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<' && startsWithIgnoringCase(text.substr(i), closing)) {
            result.append("<\\");  // keeps the letters, so the reader still sees the tag name
            continue;
        }
        result.push_back(text[i]);
    }
    return result;
}

std::string resultPage(std::string_view text)
{
    const std::string body = breakTextareaEnds(text);
    std::string page;
    page.reserve(pageHead.size() + resultTagTail.size() + body.size() + pageTail.size());
    page.append(pageHead).append(resultTagTail).append(body).append(pageTail);
    return page;
}

std::string errorPage(int status, std::string_view title, std::string_view message)
{
    std::string page;
    page.append("<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>")
        .append(std::to_string(status))
        .append(" ")
        .append(title)
        .append("</title>\n</head>\n<body>\n<h1>")
        .append(std::to_string(status))
        .append(" ")
        .append(title)
        .append("</h1>\n<p>")
        .append(message)
        .append("</p>\n</body>\n</html>\n");
    return page;
}

}  // namespace orbelin::service
