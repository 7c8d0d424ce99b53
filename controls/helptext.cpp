#include "controls/helptext.h"

#include <cctype>

namespace quvo {
namespace {

bool IsSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The longest start of `token` within `limit` bytes that ends between two characters: a
// byte of 0x81 or more opens a double-byte GBK character.
std::string_view CutAtCharacter(std::string_view token, std::size_t limit) {
    std::size_t end = 0;
    while (end < token.size()) {
        const std::size_t width = static_cast<unsigned char>(token[end]) >= 0x81 ? 2 : 1;
        if (end + width > limit) {
            break;
        }
        end += width;
    }
    return token.substr(0, end);
}

}  // namespace

std::string HelpTextFromFile(std::string_view bytes) {
    std::string text;
    std::size_t at = 0;
    while (true) {
        while (at < bytes.size() && IsSpace(static_cast<unsigned char>(bytes[at]))) {
            ++at;
        }
        if (at >= bytes.size()) {
            break;
        }
        std::size_t end = at;
        while (end < bytes.size() && !IsSpace(static_cast<unsigned char>(bytes[end]))) {
            ++end;
        }
        const std::string_view token = CutAtCharacter(bytes.substr(at, end - at), kHelpTokenLimit);
        at = end;
        if (text.size() + token.size() + 1 > kHelpTextLimit) {
            break;
        }
        text.append(token);
        text.push_back('\n');
    }
    return text;
}

}  // namespace quvo
