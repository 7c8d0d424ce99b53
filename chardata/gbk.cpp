#include "chardata/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace quvo {
namespace {

std::optional<std::string> Convert(const char* to, const char* from, std::string_view in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string out;
    std::vector<char> buffer(in.size() * 4 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    bool ok = true;
    while (srcLeft > 0) {
        char* dst = buffer.data();
        size_t dstLeft = buffer.size();
        size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer.data(), dst - buffer.data());
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
    }
    iconv_close(cd);
    if (!ok) {
        return std::nullopt;
    }
    return out;
}

}  // namespace

std::optional<std::string> GbkToUtf8(std::string_view gbk) { return Convert("UTF-8", "GB18030", gbk); }

std::optional<std::string> Utf8ToGbk(std::string_view utf8) { return Convert("GB18030", "UTF-8", utf8); }

std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (b0 < 0x80) {
        return 1;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        low = b0 == 0xE0 ? 0xA0 : 0x80;
        high = b0 == 0xED ? 0x9F : 0xBF;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        low = b0 == 0xF0 ? 0x90 : 0x80;
        high = b0 == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF)) {
            return 0;
        }
    }
    return length;
}

}  // namespace quvo
