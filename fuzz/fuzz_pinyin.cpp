// The pinyin table as the dialog reads it for the character on show, scanned and indexed. The input's first line
// is the character looked up, the rest is the table.
#include "chardata/pinyintable.h"
#include "fuzz/fuzzsupport.h"

using quvo::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = quvo::fuzz::AsText(data, size);
    const std::size_t lineEnd = input.find('\n');
    if (lineEnd == std::string_view::npos) {
        return 0;
    }
    const std::string_view character = input.substr(0, lineEnd);
    const std::string_view table = input.substr(lineEnd + 1);
    std::string pinyin = "left over";
    std::string tone = "left over";
    const bool found = quvo::LookUpPinyin(table, character, pinyin, tone);
    Check(pinyin.size() <= 19 && tone.size() <= 4, "the fields keep their sizes");
    Check(found || (pinyin.empty() && tone.empty()), "nothing found leaves both fields empty");
    if (found) {
        Check(table.find(character) != std::string_view::npos, "a character found is in the table");
        Check(pinyin.find('\n') == std::string::npos && tone.find('\n') == std::string::npos,
              "a field never runs into the next line");
    }
    // The dialog asks the table's index: it must answer exactly as the scan does.
    std::string indexPinyin = "left over", indexTone = "left over";
    const quvo::PinyinIndex index(table);
    Check(index.LookUp(character, indexPinyin, indexTone) == found && indexPinyin == pinyin &&
              indexTone == tone,
          "the index answers as the scan");
    return 0;
}
