#include "ApertiumModes.h"

#include <fstream>
#include <sstream>
#include <system_error>

namespace orbelin::service {

namespace {

// Builds words and commands while the parser walks the text.
class PipelineBuilder {
public:
    void append(std::string_view text)
    {
        word_.append(text);
        inWord_ = true;
    }
    void markQuoted() { inWord_ = true; }
    // An unquoted expansion that turns out empty makes no word.
    void appendExpansion(std::string_view value)
    {
        word_.append(value);
        if (!value.empty()) {
            inWord_ = true;
        }
    }
    void endWord()
    {
        if (inWord_) {
            command_.push_back(std::move(word_));
        }
        word_.clear();
        inWord_ = false;
    }
    void endCommand()
    {
        endWord();
        if (command_.empty()) {
            throw ModeSyntaxError("empty command in mode pipeline");
        }
        commands_.push_back(std::move(command_));
        command_.clear();
    }
    bool atWordStart() const { return !inWord_ && word_.empty(); }
    std::vector<Command> finish()
    {
        endCommand();
        return std::move(commands_);
    }

private:
    std::string word_;
    bool inWord_ = false;
    Command command_;
    std::vector<Command> commands_;
};

class PipelineParser {
public:
    PipelineParser(std::string_view text, std::string_view arg1, std::string_view arg2)
        : text_(text), arg1_(arg1), arg2_(arg2)
    {
    }

    std::vector<Command> parse()
    {
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            switch (c) {
            case ' ': case '\t': case '\n': case '\r': builder_.endWord(); break;
            case '|': builder_.endCommand(); break;
            case '\'': singleQuoted(); break;
            case '"': doubleQuoted(); break;
            case '\\': escaped(); break;
            case '$': builder_.appendExpansion(parameter()); break;
            case '#':
                if (builder_.atWordStart()) {
                    skipComment();
                } else {
                    builder_.append("#");
                }
                break;
            case ';': case '&': case '<': case '>': case '(': case ')': case '`':
                throw ModeSyntaxError(std::string("unsupported shell syntax '") + c + "'");
            default: builder_.append(std::string_view(&c, 1)); break;
            }
        }
        return builder_.finish();
    }

private:
    void singleQuoted()
    {
        const std::size_t end = text_.find('\'', pos_);
        if (end == std::string_view::npos) {
            throw ModeSyntaxError("unterminated single quote");
        }
        builder_.markQuoted();
        builder_.append(text_.substr(pos_, end - pos_));
        pos_ = end + 1;
    }

    void doubleQuoted()
    {
        builder_.markQuoted();
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') {
                return;
            }
            if (c == '\\' && pos_ < text_.size() && std::string_view("\"\\$`").find(text_[pos_]) !=
                                                        std::string_view::npos) {
                builder_.append(text_.substr(pos_++, 1));
            } else if (c == '$') {
                builder_.append(parameter());
            } else if (c == '`') {
                throw ModeSyntaxError("unsupported shell syntax '`'");
            } else {
                builder_.append(std::string_view(&c, 1));
            }
        }
        throw ModeSyntaxError("unterminated double quote");
    }

    void escaped()
    {
        if (pos_ >= text_.size()) {
            throw ModeSyntaxError("backslash at end of pipeline");
        }
        const char c = text_[pos_++];
        if (c != '\n') {  // a backslash before a line break joins the lines
            builder_.append(std::string_view(&c, 1));
        }
    }

    std::string_view parameter()
    {
        if (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '1') {
                return arg1_;
            }
            if (c == '2') {
                return arg2_;
            }
        }
        throw ModeSyntaxError("unsupported parameter expansion");
    }

    void skipComment()
    {
        const std::size_t end = text_.find('\n', pos_);
        pos_ = end == std::string_view::npos ? text_.size() : end;
    }

    std::string_view text_;
    std::string_view arg1_;
    std::string_view arg2_;
    std::size_t pos_ = 0;
    PipelineBuilder builder_;
};

// The codes Apertium uses in mode names, ISO 639-1 or 639-3.
std::optional<Language> apertiumLanguage(std::string_view code)
{
    struct Alias {
        std::string_view code;
        Language language;
    };
    static constexpr Alias aliases[] = {
        {"en", Language::en}, {"eng", Language::en}, {"es", Language::es},
        {"spa", Language::es}, {"fr", Language::fr}, {"fra", Language::fr},
        {"fre", Language::fr}, {"pt", Language::pt}, {"por", Language::pt},
        {"it", Language::it}, {"ita", Language::it},
    };
    for (const Alias& alias : aliases) {
        if (alias.code == code) {
            return alias.language;
        }
    }
    return std::nullopt;
}

// The client offers Brazilian Portuguese; every other target has no variant.
std::string_view preferredVariant(Language target)
{
    return target == Language::pt ? "BR" : "";
}

struct LanguageAndVariant {
    Language language;
    std::string_view variant;
};

std::optional<LanguageAndVariant> splitSide(std::string_view side)
{
    const std::size_t underscore = side.find('_');
    const std::string_view code = side.substr(0, underscore);
    const std::string_view variant =
        underscore == std::string_view::npos ? std::string_view() : side.substr(underscore + 1);
    const std::optional<Language> language = apertiumLanguage(code);
    if (!language) {
        return std::nullopt;
    }
    return LanguageAndVariant{*language, variant};
}

}  // namespace

std::vector<Command> parseModePipeline(std::string_view text, std::string_view arg1,
                                       std::string_view arg2)
{
    return PipelineParser(text, arg1, arg2).parse();
}

std::vector<Command> withNullFlush(std::vector<Command> commands)
{
    for (Command& command : commands) {
        if (command.size() < 2 || command[1] != "-z") {
            command.insert(command.begin() + 1, "-z");
        }
    }
    return commands;
}

std::vector<Command> loadModePipeline(const std::filesystem::path& modeFile,
                                      std::string_view generationOption)
{
    std::ifstream in(modeFile, std::ios::binary);
    if (!in) {
        throw std::system_error(errno, std::generic_category(), "open " + modeFile.string());
    }
    std::ostringstream text;
    text << in.rdbuf();
    return withNullFlush(parseModePipeline(text.str(), generationOption, ""));
}

ModeCatalog ModeCatalog::scan(const std::filesystem::path& directory)
{
    ModeCatalog catalog;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        const std::filesystem::path& file = entry.path();
        if (file.extension() != ".mode") {
            continue;
        }
        const std::string stem = file.stem().string();
        const std::size_t dash = stem.find('-');
        if (dash == std::string::npos || stem.find('-', dash + 1) != std::string::npos) {
            continue;  // e.g. "eco-fr-es", a variant data set
        }
        const auto source = splitSide(std::string_view(stem).substr(0, dash));
        const auto target = splitSide(std::string_view(stem).substr(dash + 1));
        if (source && target && source->variant.empty()) {
            catalog.add(source->language, target->language, target->variant, file);
        }
    }
    return catalog;
}

bool ModeCatalog::isApertiumLanguage(Language language)
{
    switch (language) {
    case Language::en: case Language::fr: case Language::es: case Language::pt: case Language::it:
        return true;
    default:
        return false;
    }
}

void ModeCatalog::add(Language source, Language target, std::string_view variant,
                      const std::filesystem::path& modeFile)
{
    const int rank = variant == preferredVariant(target) ? 2 : 1;
    Choice& choice = modes_[{source, target}];
    // Equal ranks: the smaller name wins, so the choice does not depend on
    // the order in which the directory lists its files.
    if (rank > choice.rank || (rank == choice.rank && modeFile < choice.modeFile)) {
        choice = Choice{rank, modeFile};
    }
}

std::optional<std::filesystem::path> ModeCatalog::direct(Language source, Language target) const
{
    const auto found = modes_.find({source, target});
    if (found == modes_.end()) {
        return std::nullopt;
    }
    return found->second.modeFile;
}

std::vector<std::filesystem::path> ModeCatalog::route(Language source, Language target) const
{
    if (!isApertiumLanguage(source) || !isApertiumLanguage(target) || source == target) {
        return {};
    }
    if (auto mode = direct(source, target)) {
        return {*mode};
    }
    if (source == Language::es || target == Language::es) {
        return {};
    }
    auto first = direct(source, Language::es);
    auto second = direct(Language::es, target);
    if (!first || !second) {
        return {};
    }
    return {*first, *second};
}

}  // namespace orbelin::service
