#include <gtest/gtest.h>

#include "chardata/gbk.h"

namespace quvo {
namespace {

TEST(Gbk, ConvertsBothWays) {
    EXPECT_EQ(Utf8ToGbk("基础篇.txt").value(), "\xBB\xF9\xB4\xA1\xC6\xAA.txt");
    EXPECT_EQ(GbkToUtf8("\xB8\xDF").value(), "高");
    EXPECT_EQ(GbkToUtf8("abc").value(), "abc");
    EXPECT_EQ(GbkToUtf8("").value(), "");
}

TEST(Gbk, PinyinLettersOutsideGlibcsGbkTable) {
    // GBK's pinyin row holds ḿ and ǹ; they must survive the round trip.
    const auto gbk = Utf8ToGbk("ḿǹ");
    ASSERT_TRUE(gbk.has_value());
    EXPECT_EQ(gbk->size(), 4u);
    EXPECT_EQ(GbkToUtf8(*gbk).value(), "ḿǹ");
}

TEST(Gbk, InvalidInputIsRefused) {
    EXPECT_FALSE(Utf8ToGbk("\xFF\xFE").has_value());
    EXPECT_FALSE(GbkToUtf8("\xB8").has_value());  // a lead byte alone
}

TEST(Gbk, CharacterBytes) {
    EXPECT_FALSE(IsCharacterByte(0xA0));
    EXPECT_TRUE(IsCharacterByte(0xA1));
    EXPECT_TRUE(IsCharacterByte(0xFD));
    EXPECT_FALSE(IsCharacterByte(0xFE));
    EXPECT_FALSE(IsCharacterByte('a'));
}

}  // namespace
}  // namespace quvo
