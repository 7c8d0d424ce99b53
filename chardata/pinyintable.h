#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace quvo {

// The pinyin table: GBK lines "character,toned pinyin,tone digit,toneless pinyin" ended by
// CR LF. The first line of the character wins; an empty or malformed line (fewer than three
// commas) ends the search there. Fields are held in the fixed sizes the table was made for:
// a line of at most 39 bytes, the character 9, the pinyin 19, the tone 4; longer text is cut.
// Returns true with pinyin and tone filled, else false with both empty.
bool LookUpPinyin(std::string_view table, std::string_view character, std::string& pinyin,
                  std::string& tone);

// The same answers from one pass over the table: for every character before the first line
// that ends the search, the fields of its first line.
class PinyinIndex {
public:
    explicit PinyinIndex(std::string_view table);
    bool LookUp(std::string_view character, std::string& pinyin, std::string& tone) const;
    std::size_t size() const { return m_first.size(); }

private:
    std::unordered_map<std::string, std::pair<std::string, std::string>> m_first;
};

}  // namespace quvo
