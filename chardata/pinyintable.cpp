#include "chardata/pinyintable.h"

#include <algorithm>

namespace quvo {
namespace {

constexpr std::size_t kLineBytes = 39;
constexpr std::size_t kCharacterBytes = 9;
constexpr std::size_t kPinyinBytes = 19;
constexpr std::size_t kToneBytes = 4;

std::string_view Cut(std::string_view text, std::size_t limit) {
    return text.substr(0, std::min(text.size(), limit));
}

// The three fields of a line; false for a line that ends the search.
bool SplitLine(std::string_view line, std::string_view& character, std::string_view& pinyin,
               std::string_view& tone) {
    if (line.empty()) {
        return false;
    }
    const std::size_t first = line.find(',');
    if (first == std::string_view::npos) {
        return false;
    }
    const std::size_t second = line.find(',', first + 1);
    if (second == std::string_view::npos) {
        return false;
    }
    const std::string_view rest = line.substr(second + 1);
    const std::size_t third = rest.find(',');
    if (rest.empty() || third == std::string_view::npos) {
        return false;
    }
    character = Cut(line.substr(0, first), kCharacterBytes);
    pinyin = Cut(line.substr(first + 1, second - first - 1), kPinyinBytes);
    tone = Cut(rest.substr(0, third), kToneBytes);
    return true;
}

// Calls `found` with the fields of each line up to the first that ends the search, until it
// returns true.
template <typename Found>
void WalkLines(std::string_view table, Found found) {
    std::size_t start = 0;
    for (std::size_t end = table.find('\n'); end != std::string_view::npos;
         start = end + 1, end = table.find('\n', start)) {
        const std::string_view line = Cut(table.substr(start, end - start), kLineBytes);
        std::string_view c, p, t;
        if (!SplitLine(line, c, p, t) || found(c, p, t)) {
            return;
        }
    }
}

}  // namespace

bool LookUpPinyin(std::string_view table, std::string_view character, std::string& pinyin,
                  std::string& tone) {
    pinyin.clear();
    tone.clear();
    bool hit = false;
    WalkLines(table, [&](std::string_view c, std::string_view p, std::string_view t) {
        if (c == character) {
            pinyin.assign(p);
            tone.assign(t);
            hit = true;
        }
        return hit;
    });
    return hit;
}

PinyinIndex::PinyinIndex(std::string_view table) {
    WalkLines(table, [this](std::string_view c, std::string_view p, std::string_view t) {
        m_first.try_emplace(std::string(c), std::string(p), std::string(t));
        return false;
    });
}

bool PinyinIndex::LookUp(std::string_view character, std::string& pinyin,
                         std::string& tone) const {
    const auto it = m_first.find(std::string(character));
    if (it == m_first.end()) {
        pinyin.clear();
        tone.clear();
        return false;
    }
    pinyin = it->second.first;
    tone = it->second.second;
    return true;
}

}  // namespace quvo
