#include "chardata/strokeitems.h"

#include <cstdlib>
#include <string>

namespace quvo {
namespace {

int ItemValue(std::string_view text, std::size_t pos) {
    const std::string item(text.substr(pos, text.find(',', pos) - pos));
    return std::atoi(item.c_str());
}

}  // namespace

int StrokeTypeAt(std::string_view text, int k) {
    if (text.empty() || k <= 0) {
        return -1;
    }
    std::size_t pos = 0;
    for (int i = 1; i < k; ++i) {
        const std::size_t comma = text.find(',', pos);
        if (comma == std::string_view::npos) {
            break;
        }
        pos = comma + 1;
    }
    return ItemValue(text, pos);
}

int StrokeOrderAt(std::string_view text, int k, int strokeCount) {
    if (text.empty() || k <= 0 || k > strokeCount) {
        return -1;
    }
    std::size_t pos = 0;
    for (int i = 1; i < k; ++i) {
        const std::size_t comma = text.find(',', pos);
        if (comma == std::string_view::npos || comma + 1 == text.size()) {
            break;  // an empty last item is never taken
        }
        pos = comma + 1;
    }
    return ItemValue(text, pos);
}

}  // namespace quvo
