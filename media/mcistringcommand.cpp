#include "media/mcistringcommand.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace quvo {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::vector<std::string_view> SplitWords(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsBlank(text[at])) {
            ++at;
        }
        std::size_t end = at;
        while (end < text.size() && !IsBlank(text[end])) {
            ++end;
        }
        if (end > at) {
            words.push_back(text.substr(at, end - at));
        }
        at = end;
    }
    return words;
}

std::optional<MciStringCommand::Verb> ParseVerb(std::string_view word) {
    if (SameMciName(word, "play")) {
        return MciStringCommand::Verb::kPlay;
    }
    if (SameMciName(word, "stop")) {
        return MciStringCommand::Verb::kStop;
    }
    if (SameMciName(word, "close")) {
        return MciStringCommand::Verb::kClose;
    }
    return std::nullopt;
}

MciError ParsePosition(std::string_view word, std::uint32_t& position) {
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, position);
    return error == std::errc() && stop == end ? 0 : mci::kErrBadInteger;
}

// The words after the device name: only "play" takes any, and only "from N".
MciError ParseOptions(const std::vector<std::string_view>& words, MciStringCommand& command) {
    for (std::size_t i = 2; i < words.size(); i += 2) {
        if (command.verb != MciStringCommand::Verb::kPlay || !SameMciName(words[i], "from")) {
            return mci::kErrUnrecognizedKeyword;
        }
        if (i + 1 == words.size()) {
            return mci::kErrMissingParameter;
        }
        std::uint32_t position = 0;
        if (const MciError error = ParsePosition(words[i + 1], position)) {
            return error;
        }
        command.from = position;
    }
    return 0;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

MciError ParseMciStringCommand(std::string_view text, MciStringCommand& command) {
    const std::vector<std::string_view> words = SplitWords(text);
    if (words.empty()) {
        return mci::kErrMissingCommandString;
    }
    const auto verb = ParseVerb(words[0]);
    if (!verb) {
        return mci::kErrUnrecognizedCommand;
    }
    if (words.size() < 2) {
        return mci::kErrMissingDeviceName;
    }
    command = MciStringCommand{*verb, std::string(words[1]), std::nullopt};
    return ParseOptions(words, command);
}

bool SameMciName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return Lower(x) == Lower(y); });
}

}  // namespace quvo
