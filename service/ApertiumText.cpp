#include "ApertiumText.h"

namespace orbelin::service {

namespace {

// Characters with a meaning in the stream: word marks, tags, superblanks.
constexpr std::string_view escapedCharacters = "[]\\^$/@<>{}";

bool isEscaped(char c)
{
    return escapedCharacters.find(c) != std::string_view::npos;
}

// Kept apart from words; '~' too, as apertium-destxt treats it.
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '~';
}

class Deformatter {
public:
    explicit Deformatter(std::size_t size) { out_.reserve(size + size / 8 + 8); }

    void add(char c)
    {
        if (isBlank(c)) {
            blank_.push_back(c);
            // A paragraph break: the sentence ends even without a full stop.
            if (blank_.ends_with("\n\n") || blank_.ends_with("\r\n\r\n")) {
                sentenceEnd_ = true;
            }
            return;
        }
        flushBlank();
        if (isEscaped(c)) {
            out_.push_back('\\');
        }
        out_.push_back(c);
    }

    std::string finish()
    {
        sentenceEnd_ = true;
        flushBlank();
        return std::move(out_);
    }

private:
    void flushBlank()
    {
        if (sentenceEnd_) {
            out_.append(".[]");
            sentenceEnd_ = false;
        }
        if (blank_.empty() || blank_ == " ") {
            out_.append(blank_);
        } else {
            out_.append("[").append(blank_).append("]");
        }
        blank_.clear();
    }

    std::string out_;
    std::string blank_;  // blanks since the last other character
    bool sentenceEnd_ = false;
};

}  // namespace

std::string deformatText(std::string_view text)
{
    Deformatter deformatter(text.size());
    for (const char c : text) {
        deformatter.add(c);
    }
    return deformatter.finish();
}

std::string reformatText(std::string_view stream)
{
    std::string text;
    text.reserve(stream.size());
    while (!stream.empty()) {
        std::size_t used = 1;
        if (stream.starts_with(".[]")) {
            used = 3;
        } else if (stream.front() == '[' || stream.front() == ']') {
            // a superblank's brackets
        } else if (stream.front() == '\\' && stream.size() > 1 && isEscaped(stream[1])) {
            text.push_back(stream[1]);
            used = 2;
        } else {
            text.push_back(stream.front());
        }
        stream.remove_prefix(used);
    }
    return text;
}

}  // namespace orbelin::service
