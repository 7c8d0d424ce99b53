#include <gtest/gtest.h>

#include <filesystem>

#include "settings/progressfile.h"
#include "testfiles.h"

namespace quvo {
namespace {

std::string RecordBytes(const ProgressRecord& r) {
    const ProgressBytes b = EncodeProgress(r);
    return std::string(reinterpret_cast<const char*>(b.data()), b.size());
}

class ProgressFileTest : public ::testing::Test {
protected:
    int LookUp(const std::string& path, int32_t* position = nullptr) {
        ProgressRecord query{path, 0};
        const int found = file.LookUp(query);
        if (position != nullptr) {
            *position = query.position;
        }
        return found;
    }
    std::string Contents() const { return test::ReadAll(name); }

    test::TempFolder dir;
    std::string name = dir.File("xxjd.cfg");
    ProgressFile file{name};
};

TEST_F(ProgressFileTest, RecordLayout) {
    const std::string b = RecordBytes({"/q/book/a.txt", 0x0A0B0C0D});
    ASSERT_EQ(b.size(), 132u);
    EXPECT_EQ(b.substr(0, 14), std::string("/q/book/a.txt") + '\0');
    EXPECT_EQ(b.substr(14, 114), std::string(114, '\0'));
    EXPECT_EQ(b.substr(128), "\x0D\x0C\x0B\x0A");
    const ProgressRecord back = DecodeProgress(reinterpret_cast<const uint8_t*>(b.data()));
    EXPECT_EQ(back.bookPath, "/q/book/a.txt");
    EXPECT_EQ(back.position, 0x0A0B0C0D);
}

TEST_F(ProgressFileTest, MissingAndEmptyFilesFindNothing) {
    EXPECT_EQ(LookUp("/q/book/a.txt"), -1);
    test::WriteAll(name, "");
    EXPECT_EQ(LookUp("/q/book/a.txt"), -1);
    EXPECT_EQ(LookUp(""), -1);
}

TEST_F(ProgressFileTest, AppendThenReplaceInPlace) {
    EXPECT_EQ(file.Save({"/q/book/a.txt", 3}), -1);  // appended (file created)
    EXPECT_EQ(Contents(), RecordBytes({"/q/book/a.txt", 3}));
    EXPECT_EQ(file.Save({"/q/book/a.txt", 7}), 1);  // replaced
    EXPECT_EQ(Contents(), RecordBytes({"/q/book/a.txt", 7}));
    int32_t position = 0;
    EXPECT_EQ(LookUp("/q/book/a.txt", &position), 1);
    EXPECT_EQ(position, 7);
}

TEST_F(ProgressFileTest, TwoBooksKeepTheirOrderAndPositions) {
    file.Save({"/q/book/a.txt", 2});
    file.Save({"/q/book/b.txt", 9});
    file.Save({"/q/book/a.txt", 4});
    EXPECT_EQ(Contents(), RecordBytes({"/q/book/a.txt", 4}) + RecordBytes({"/q/book/b.txt", 9}));
    int32_t position = 0;
    EXPECT_EQ(LookUp("/q/book/b.txt", &position), 1);
    EXPECT_EQ(position, 9);
    EXPECT_EQ(LookUp("/q/book/a.txt", &position), 1);
    EXPECT_EQ(position, 4);
}

TEST_F(ProgressFileTest, PathsAreComparedExactlyAndCaseSensitively) {
    file.Save({"/q/book/Animals.txt", 5});
    EXPECT_EQ(LookUp("/q/book/animals.txt"), -1);
    EXPECT_EQ(LookUp("/q/book/Animals.tx"), -1);  // a prefix is not the path
    EXPECT_EQ(LookUp("/q/book/Animals.txt2"), -1);
    EXPECT_EQ(file.Save({"/q/book/animals.txt", 1}), -1);
    EXPECT_EQ(Contents().size(), 2 * 132u);
}

TEST_F(ProgressFileTest, TrailingPartialRecordIsIgnoredAndDropped) {
    // A damaged file: one whole record, then the first 60 bytes of another.
    const std::string whole = RecordBytes({"/q/book/a.txt", 6});
    const std::string partial = RecordBytes({"/q/book/b.txt", 8}).substr(0, 60);
    test::WriteAll(name, whole + partial);

    int32_t position = 0;
    EXPECT_EQ(LookUp("/q/book/a.txt", &position), 1);
    EXPECT_EQ(position, 6);
    EXPECT_EQ(LookUp("/q/book/b.txt"), -1);

    EXPECT_EQ(file.Save({"/q/book/c.txt", 1}), -1);
    EXPECT_EQ(Contents(), whole + RecordBytes({"/q/book/c.txt", 1}));
    EXPECT_EQ(LookUp("/q/book/c.txt", &position), 1);
    EXPECT_EQ(position, 1);
}

TEST_F(ProgressFileTest, NegativeAndLargePositionsRoundTrip) {
    file.Save({"/q/a", -5});
    file.Save({"/q/b", 2147483647});
    int32_t position = 0;
    LookUp("/q/a", &position);
    EXPECT_EQ(position, -5);
    LookUp("/q/b", &position);
    EXPECT_EQ(position, 2147483647);
}

TEST_F(ProgressFileTest, PathsThatDoNotFitAreNeitherSavedNorFound) {
    file.Save({"/q/a", 1});
    const std::string before = Contents();
    const std::string longPath(128, 'p');
    EXPECT_EQ(file.Save({longPath, 3}), -1);
    EXPECT_EQ(Contents(), before);
    EXPECT_EQ(LookUp(longPath), -1);
    const std::string fits(127, 'p');
    EXPECT_EQ(file.Save({fits, 3}), -1);
    EXPECT_EQ(LookUp(fits), 1);
}

TEST_F(ProgressFileTest, AFileThatCannotBeWrittenReportsFailure) {
    std::filesystem::create_directory(name);
    EXPECT_EQ(file.Save({"/q/a", 1}), -1);
    EXPECT_EQ(LookUp("/q/a"), -1);
    EXPECT_TRUE(std::filesystem::is_directory(name));
}

}  // namespace
}  // namespace quvo
