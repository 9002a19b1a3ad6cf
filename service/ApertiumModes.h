// Apertium mode files: the command pipeline they hold, and which of them
// translate between two of the client's languages (directly or through Spanish).
#pragma once

#include "Languages.h"

#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orbelin::service {

using Command = std::vector<std::string>;  // program and arguments

struct ModeSyntaxError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Splits a mode file's shell pipeline into commands the way sh would for this
// simple grammar: words, single and double quotes, backslash escapes, '|'.
// $1 and $2 expand to the given values; an unquoted empty expansion vanishes.
std::vector<Command> parseModePipeline(std::string_view text, std::string_view arg1,
                                       std::string_view arg2);  // throws ModeSyntaxError

// Adds "-z" (flush on NUL) right after each program name.
std::vector<Command> withNullFlush(std::vector<Command> commands);

// Reads and parses one mode file with the generation option given for $1.
std::vector<Command> loadModePipeline(const std::filesystem::path& modeFile,
                                      std::string_view generationOption);  // throws

// The mode files of one directory that Orbelin's languages can use.
class ModeCatalog {
public:
    static ModeCatalog scan(const std::filesystem::path& directory);

    // English, French, Spanish, Portuguese and Italian: the client's languages
    // that the installed Apertium pairs cover.
    static bool isApertiumLanguage(Language language);

    std::optional<std::filesystem::path> direct(Language source, Language target) const;

    // One mode for a direct pair, two for a pivot through Spanish, none when
    // the pair cannot be translated.
    std::vector<std::filesystem::path> route(Language source, Language target) const;

    // variant: what follows "_" in the target code ("BR" in es-pt_BR).
    void add(Language source, Language target, std::string_view variant,
             const std::filesystem::path& modeFile);

private:
    struct Choice {
        int rank = 0;
        std::filesystem::path modeFile;
    };
    std::map<std::pair<Language, Language>, Choice> modes_;
};

}  // namespace orbelin::service
