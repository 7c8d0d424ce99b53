#include <gtest/gtest.h>

#include <filesystem>

#include "chardata/gbk.h"
#include "settings/settingsrecord.h"
#include "testfiles.h"

namespace quvo {
namespace {

SettingsRecord SampleRecord() {
    SettingsRecord r;
    r.showUnderlay = 1;
    r.showSample = 0;
    r.showGrid = 1;
    r.hints = 0;
    r.strokeCheck = 1;
    r.demoBeforeAssembling = 0;
    r.backgroundMusic = 1;
    r.showPinyin = 0;
    r.themePath = "/p/theme/charming7.bmp";
    r.musicPath = "/p/bmusic/start3.mp3";
    r.rightCuePath = "/p/bmusic/right1.mp3";
    r.errorCuePath = "/p/bmusic/error1.mp3";
    r.bookPath = "/p/book/" + Utf8ToGbk("动物.txt").value();
    r.demoSpeed = 2500;
    r.demoMode = 0;
    return r;
}

std::string AsString(const SettingsBytes& bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

TEST(SettingsRecord, FieldsSitAtTheirOffsetsLittleEndian) {
    SettingsRecord r = SampleRecord();
    r.demoSpeed = 0x01020304;
    r.demoMode = -2;
    const SettingsBytes b = EncodeSettings(r);
    ASSERT_EQ(b.size(), 680u);
    const int switches[] = {1, 0, 1, 0, 1, 0, 1, 0};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(b[4 * i], switches[i]) << "switch " << i;
        EXPECT_EQ(b[4 * i + 1] | b[4 * i + 2] | b[4 * i + 3], 0) << "switch " << i;
    }
    const std::string s = AsString(b);
    EXPECT_EQ(s.substr(32, r.themePath.size() + 1), r.themePath + '\0');
    EXPECT_EQ(s.substr(160, r.musicPath.size() + 1), r.musicPath + '\0');
    EXPECT_EQ(s.substr(288, r.rightCuePath.size() + 1), r.rightCuePath + '\0');
    EXPECT_EQ(s.substr(416, r.errorCuePath.size() + 1), r.errorCuePath + '\0');
    EXPECT_EQ(s.substr(544, r.bookPath.size() + 1), r.bookPath + '\0');
    // Unused bytes of a path field are zero.
    EXPECT_EQ(s.substr(32 + r.themePath.size(), 128 - r.themePath.size()),
              std::string(128 - r.themePath.size(), '\0'));
    EXPECT_EQ(b[672], 0x04);
    EXPECT_EQ(b[673], 0x03);
    EXPECT_EQ(b[674], 0x02);
    EXPECT_EQ(b[675], 0x01);
    EXPECT_EQ(GetInt32(b.data() + 676), -2);
    EXPECT_EQ(b[676], 0xFE);
    EXPECT_EQ(b[679], 0xFF);
}

TEST(SettingsRecord, FileWrittenByOneRunReadsBackIdentically) {
    test::TempFolder dir;
    const SettingsRecord written = SampleRecord();
    ASSERT_TRUE(WriteSettingsFile(dir.File("quvocf.cfg"), written));
    const std::string onDisk = test::ReadAll(dir.File("quvocf.cfg"));
    EXPECT_EQ(onDisk, AsString(EncodeSettings(written)));

    SettingsBytes buffer{};
    ASSERT_EQ(ReadSettingsFile(dir.File("quvocf.cfg"), buffer), 0);
    EXPECT_EQ(DecodeSettings(buffer), written);
    EXPECT_EQ(AsString(EncodeSettings(DecodeSettings(buffer))), onDisk);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(SettingsRecord, RewritingReplacesTheWholeFile) {
    test::TempFolder dir;
    test::WriteAll(dir.File("quvocf.cfg"), std::string(1000, 'x'));
    ASSERT_TRUE(WriteSettingsFile(dir.File("quvocf.cfg"), SampleRecord()));
    EXPECT_EQ(test::ReadAll(dir.File("quvocf.cfg")).size(), 680u);
}

// A write killed before its rename leaves its pending file; the next write replaces it, so
// that no more than one is ever left. A link in the file's place is followed and stays a link.
TEST(SettingsRecord, RewritingClearsWhatAKilledWriteLeftAndFollowsALink) {
    test::TempFolder dir;
    test::WriteAll(dir.File("quvocf.cfg.quvo-saving"), std::string(300, 'k'));
    ASSERT_TRUE(WriteSettingsFile(dir.File("quvocf.cfg"), SampleRecord()));
    EXPECT_EQ(test::ReadAll(dir.File("quvocf.cfg")), AsString(EncodeSettings(SampleRecord())));
    EXPECT_FALSE(std::filesystem::exists(dir.File("quvocf.cfg.quvo-saving")));

    std::filesystem::create_directory(dir.Path() / "elsewhere");
    test::WriteAll(dir.File("elsewhere/settings"), "old");
    std::filesystem::create_symlink(dir.Path() / "elsewhere/settings", dir.Path() / "linked.cfg");
    ASSERT_TRUE(WriteSettingsFile(dir.File("linked.cfg"), SampleRecord()));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "linked.cfg"));
    EXPECT_EQ(test::ReadAll(dir.File("elsewhere/settings")), AsString(EncodeSettings(SampleRecord())));
}

TEST(SettingsRecord, ReadingShortLongAndMissingFiles) {
    test::TempFolder dir;
    SettingsBytes buffer{};
    EXPECT_EQ(ReadSettingsFile(dir.File("quvocf.cfg"), buffer), -1);

    // A file cut after the switches: the rest reads as zero.
    const std::string full = AsString(EncodeSettings(SampleRecord()));
    test::WriteAll(dir.File("quvocf.cfg"), full.substr(0, 40));
    buffer = {};
    ASSERT_EQ(ReadSettingsFile(dir.File("quvocf.cfg"), buffer), 0);
    SettingsRecord r = DecodeSettings(buffer);
    EXPECT_EQ(r.strokeCheck, 1);
    EXPECT_EQ(r.themePath, "/p/theme");  // the first 8 bytes of the field survived the cut
    EXPECT_EQ(r.bookPath, "");
    EXPECT_EQ(r.demoSpeed, 0);
    const SettingsRecord valid = ValidatedSettings(r);
    EXPECT_EQ(valid.demoSpeed, 1000);
    EXPECT_EQ(valid.demoMode, 0);

    // A longer file is read for its first 680 bytes.
    test::WriteAll(dir.File("quvocf.cfg"), full + std::string(50, '\x7f'));
    buffer = {};
    ASSERT_EQ(ReadSettingsFile(dir.File("quvocf.cfg"), buffer), 0);
    EXPECT_EQ(DecodeSettings(buffer), SampleRecord());

    // An empty file opens: everything zero.
    test::WriteAll(dir.File("quvocf.cfg"), "");
    buffer = {};
    EXPECT_EQ(ReadSettingsFile(dir.File("quvocf.cfg"), buffer), 0);
    EXPECT_EQ(DecodeSettings(buffer), SettingsRecord{});
}

TEST(SettingsRecord, ValidationOfSpeedModeAndSwitches) {
    SettingsRecord r = SampleRecord();
    for (int speed : {50, 99, 5001, 6000, -1000}) {
        r.demoSpeed = speed;
        EXPECT_EQ(ValidatedSettings(r).demoSpeed, 1000) << speed;
    }
    for (int speed : {100, 5000, 2345}) {
        r.demoSpeed = speed;
        EXPECT_EQ(ValidatedSettings(r).demoSpeed, speed);
    }
    for (int mode : {2, -1, 7}) {
        r.demoMode = mode;
        EXPECT_EQ(ValidatedSettings(r).demoMode, 1) << mode;
    }
    r.demoMode = 0;
    EXPECT_EQ(ValidatedSettings(r).demoMode, 0);

    r.showUnderlay = 2;
    r.showGrid = -1;
    r.showSample = 1;
    const SettingsRecord v = ValidatedSettings(r);
    EXPECT_EQ(v.showUnderlay, 0);
    EXPECT_EQ(v.showGrid, 0);
    EXPECT_EQ(v.showSample, 1);
    EXPECT_EQ(v.themePath, r.themePath);
}

TEST(SettingsRecord, StrokeCheckAndMusicBothOnAreKept) {
    SettingsRecord r = SampleRecord();
    r.strokeCheck = 1;
    r.backgroundMusic = 1;
    const SettingsRecord v = ValidatedSettings(DecodeSettings(EncodeSettings(r)));
    EXPECT_EQ(v.strokeCheck, 1);
    EXPECT_EQ(v.backgroundMusic, 1);
}

TEST(SettingsRecord, DefaultsOfAFirstRun) {
    const SettingsRecord d = DefaultSettings("/home/kid/quvo");
    EXPECT_EQ(d.showUnderlay, 1);
    EXPECT_EQ(d.showSample, 1);
    EXPECT_EQ(d.showGrid, 1);
    EXPECT_EQ(d.hints, 1);
    EXPECT_EQ(d.strokeCheck, 0);
    EXPECT_EQ(d.demoBeforeAssembling, 1);
    EXPECT_EQ(d.backgroundMusic, 1);
    EXPECT_EQ(d.showPinyin, 1);
    EXPECT_EQ(d.themePath, "/home/kid/quvo/theme/charming1.bmp");
    EXPECT_EQ(d.musicPath, "/home/kid/quvo/bmusic/start1.mp3");
    EXPECT_EQ(d.rightCuePath, "/home/kid/quvo/bmusic/right1.mp3");
    EXPECT_EQ(d.errorCuePath, "/home/kid/quvo/bmusic/error1.mp3");
    EXPECT_EQ(d.bookPath, "/home/kid/quvo/book/\xBB\xF9\xB4\xA1\xC6\xAA.txt");  // 基础篇
    EXPECT_EQ(d.demoSpeed, 1000);
    EXPECT_EQ(d.demoMode, 1);
}

TEST(SettingsRecord, PathsThatDoNotFitAreNotStored) {
    SettingsRecord r = SampleRecord();
    r.themePath = std::string(127, 'a');
    r.musicPath = std::string(128, 'b');
    const SettingsBytes b = EncodeSettings(r);
    const SettingsRecord back = DecodeSettings(b);
    EXPECT_EQ(back.themePath, r.themePath);
    EXPECT_EQ(back.musicPath, "");
    EXPECT_EQ(back.rightCuePath, r.rightCuePath);  // the neighbour is untouched
    EXPECT_EQ(b[32 + 127], 0);
}

TEST(SettingsRecord, FieldWithoutTerminatorReadsAsAPathThatFits) {
    SettingsBytes b = EncodeSettings(SampleRecord());
    std::fill(b.begin() + 32, b.begin() + 160, 'z');
    const SettingsRecord r = DecodeSettings(b);
    EXPECT_EQ(r.themePath, std::string(127, 'z'));
    EXPECT_EQ(r.musicPath, SampleRecord().musicPath);
}

TEST(SettingsRecord, WriteFailsWhenTheFileCannotBeCreated) {
    test::TempFolder dir;
    std::filesystem::create_directory(dir.Path() / "quvocf.cfg");
    EXPECT_FALSE(WriteSettingsFile(dir.File("quvocf.cfg"), SampleRecord()));
    EXPECT_FALSE(WriteSettingsFile(dir.File("missing/quvocf.cfg"), SampleRecord()));
}

}  // namespace
// Paths inside the program folder are kept relative to it, so that a long folder still fits
// the 128-byte fields; others whole; both come back as they were.
TEST(SettingsPaths, InsideTheProgramFolderRelativeElseWhole) {
    const std::string folder = "/home/a/" + std::string(110, 'q');  // 118 bytes
    struct Case {
        std::string path, stored;
    };
    for (const Case& c : {Case{folder + "/theme/charming3.bmp", "theme/charming3.bmp"},
                          Case{"/usr/share/pictures/sky.bmp", "/usr/share/pictures/sky.bmp"},
                          Case{folder + "x/theme.bmp", folder + "x/theme.bmp"},  // a neighbour
                          // Made relative, "/theme/a.bmp" would read as a path of its own.
                          Case{folder + "//theme/a.bmp", folder + "//theme/a.bmp"},
                          Case{folder, folder},
                          Case{"", ""}}) {
        EXPECT_EQ(quvo::StoredPath(folder, c.path), c.stored) << c.path;
        EXPECT_EQ(quvo::LoadedPath(folder, quvo::StoredPath(folder, c.path)), c.path) << c.path;
    }
    const quvo::SettingsRecord defaults = quvo::DefaultSettings(folder);
    const auto bytes = quvo::EncodeSettings(quvo::StoredPaths(folder, defaults));
    EXPECT_EQ(quvo::LoadedPaths(folder, quvo::DecodeSettings(bytes)), defaults);
    // Whole, the paths would not have fitted: the file would have lost them.
    EXPECT_TRUE(quvo::DecodeSettings(quvo::EncodeSettings(defaults)).themePath.empty());
}

}  // namespace quvo
