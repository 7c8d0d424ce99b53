#include "online/requestvalues.h"

#include <charconv>

namespace quvo {

namespace {

// Length of the sequence that lead byte starts, 0 for a byte that cannot start one.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

// The code point of a sequence of the given length, or -1 when it is not well-formed.
long DecodeSequence(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    static constexpr unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    long code = lead & kLeadMask[bytes.size()];
    for (std::size_t i = 1; i < bytes.size(); ++i) {
        const auto next = static_cast<unsigned char>(bytes[i]);
        if ((next & 0xC0) != 0x80) {
            return -1;
        }
        code = (code << 6) | (next & 0x3F);
    }
    static constexpr long kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[bytes.size()] || code > 0x10FFFF) {
        return -1;
    }
    if (code >= 0xD800 && code <= 0xDFFF) {
        return -1;
    }
    return code;
}

bool IsControl(long code) {
    return code < 0x20 || (code >= 0x7F && code < 0xA0);
}

// A whole number made only of decimal digits, at most two of them.
bool SmallNumber(const std::string& text, int& value) {
    if (text.empty() || text.size() > 2) {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// The items of a comma list that ends with a comma ("3,1,2,"); an empty text has none.
bool CommaItems(const std::string& text, std::vector<std::string>& items) {
    if (text.empty()) {
        return true;
    }
    if (text.back() != ',') {
        return false;
    }
    std::size_t start = 0;
    for (std::size_t comma = text.find(','); comma != std::string::npos;
         start = comma + 1, comma = text.find(',', start)) {
        items.push_back(text.substr(start, comma - start));
    }
    return true;
}

std::string ReadPositions(const std::string& text, int strokeCount, std::vector<int>& positions) {
    std::vector<std::string> items;
    if (!CommaItems(text, items)) {
        return "b 不是以逗号结尾的笔顺位置。";
    }
    for (const std::string& item : items) {
        int position = 0;
        if (!SmallNumber(item, position) || position < 1 || position > strokeCount) {
            return "b 里有不在 1 到笔画数之间的位置。";
        }
        if (!positions.empty() && position <= positions.back()) {
            return "b 里的位置没有从小到大排列。";
        }
        positions.push_back(position);
    }
    return {};
}

std::string ReadPageCharacters(const std::string& text, std::string& characters) {
    std::vector<std::string> items;
    if (!CommaItems(text, items) || items.size() > kPageButtons) {
        return "s 应当是五个按钮上的字，每个字后面跟一个逗号。";
    }
    for (const std::string& item : items) {
        std::vector<std::string> inItem;
        if (!SplitCharacters(item, inItem) || inItem.size() > 1) {
            return "s 的每一项只能有一个字。";
        }
        characters += item;
    }
    return {};
}

std::string ReadOneCharacter(const QueryValues& values, std::string& character) {
    std::string z;
    if (!OneValue(values, "z", z)) {
        return "地址里应当有一个 z（要看的字）。";
    }
    std::vector<std::string> characters;
    if (!SplitCharacters(z, characters) || characters.size() != 1) {
        return "z 应当正好是一个字。";
    }
    character = z;
    return {};
}

std::string ReadVerdict(const QueryValues& values, RoundResult& round) {
    std::string f;
    std::string c;
    if (!OneValue(values, "f", f) || (f != "ok" && f != "no")) {
        return "f 应当是 ok 或 no。";
    }
    if (!OneValue(values, "c", c) || !SmallNumber(c, round.strokeCount) || round.strokeCount < 1 ||
        round.strokeCount > kMaxStrokes) {
        return "c 应当是 1 到 64 之间的笔画数。";
    }
    round.right = f == "ok";
    return {};
}

}  // namespace

bool SplitCharacters(std::string_view text, std::vector<std::string>& characters) {
    while (!text.empty()) {
        const std::size_t length = SequenceLength(static_cast<unsigned char>(text[0]));
        if (length == 0 || length > text.size()) {
            return false;
        }
        const long code = DecodeSequence(text.substr(0, length));
        if (code < 0 || IsControl(code)) {
            return false;
        }
        characters.emplace_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    return true;
}

bool OneValue(const QueryValues& values, const std::string& key, std::string& value) {
    if (values.count(key) != 1) {
        return false;
    }
    value = values.find(key)->second;
    return true;
}

std::string ReadCharacterQuery(const QueryValues& values, std::string& character) {
    return ReadOneCharacter(values, character);
}

std::string ReadRoundQuery(const QueryValues& values, RoundResult& round) {
    RoundResult read;
    std::string b;
    std::string s;
    std::string reason = ReadOneCharacter(values, read.character);
    if (reason.empty()) {
        reason = ReadVerdict(values, read);
    }
    if (reason.empty() && !OneValue(values, "b", b)) {
        reason = "地址里应当有 b（放错的位置）。";
    }
    if (reason.empty()) {
        reason = ReadPositions(b, read.strokeCount, read.wrongPositions);
    }
    if (reason.empty() && read.right != read.wrongPositions.empty()) {
        reason = "f 和 b 对不上：全对时 b 是空的，有错时 b 列出放错的位置。";
    }
    if (reason.empty() && !OneValue(values, "s", s)) {
        reason = "地址里应当有 s（这一页的字）。";
    }
    if (reason.empty()) {
        reason = ReadPageCharacters(s, read.pageCharacters);
    }
    if (reason.empty()) {
        round = std::move(read);
    }
    return reason;
}

}  // namespace quvo
