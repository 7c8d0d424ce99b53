#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quvo {

// The settings file "quvocf.cfg": one 680-byte record, little-endian, no header.
//   0..31   eight 32-bit switches (underlay, sample, grid, hints, stroke check,
//           demo before assembling, background music, pinyin)
//   32..671 five 128-byte zero-terminated GBK paths (theme, music, right cue, error cue, book)
//   672     demo speed (ms per step), 676 demo mode (0 move, 1 write)
inline constexpr std::size_t kSettingsRecordSize = 680;
inline constexpr std::size_t kPathFieldSize = 128;
inline constexpr char kSettingsFileName[] = "quvocf.cfg";

inline constexpr int kDefaultDemoSpeed = 1000;
inline constexpr int kMinDemoSpeed = 100;
inline constexpr int kMaxDemoSpeed = 5000;
inline constexpr int kDefaultDemoMode = 1;

using SettingsBytes = std::array<std::uint8_t, kSettingsRecordSize>;

struct SettingsRecord {
    std::int32_t showUnderlay = 0;
    std::int32_t showSample = 0;
    std::int32_t showGrid = 0;
    std::int32_t hints = 0;
    std::int32_t strokeCheck = 0;
    std::int32_t demoBeforeAssembling = 0;
    std::int32_t backgroundMusic = 0;
    std::int32_t showPinyin = 0;
    std::string themePath;  // GBK bytes, no terminator
    std::string musicPath;
    std::string rightCuePath;
    std::string errorCuePath;
    std::string bookPath;
    std::int32_t demoSpeed = 0;
    std::int32_t demoMode = 0;

    bool operator==(const SettingsRecord&) const = default;
};

SettingsBytes EncodeSettings(const SettingsRecord& record);
SettingsRecord DecodeSettings(const SettingsBytes& bytes);

// What a first run uses: every aid on except the stroke-by-stroke check, speed 1000, write
// mode, and the paths of the shipped theme, music, cues and beginner's textbook inside
// programFolder (GBK, without trailing separator).
SettingsRecord DefaultSettings(std::string_view programFolder);

// The record as the dialog takes it: a switch is on only when it holds exactly 1, a speed
// outside 100..5000 becomes 1000, a mode other than 0 or 1 becomes 1; paths stay as they are.
SettingsRecord ValidatedSettings(const SettingsRecord& record);

// Paths inside the program folder are kept relative to it ("theme/charming1.bmp"), so that
// they fit their 128-byte fields however long the folder's own path is; other paths are kept
// whole. Both are GBK; the folder has no trailing separator.
std::string StoredPath(std::string_view programFolder, std::string_view path);
// The other way round: a relative path is read against the program folder.
std::string LoadedPath(std::string_view programFolder, std::string_view stored);
// Every path of the record, stored or loaded.
SettingsRecord StoredPaths(std::string_view programFolder, SettingsRecord record);
SettingsRecord LoadedPaths(std::string_view programFolder, SettingsRecord record);

// Reads up to 680 bytes of the settings file into a zero-filled buffer; a shorter file leaves
// the rest zero, a longer one is read for its first 680 bytes. 0 when the file was opened,
// -1 when it could not be.
int ReadSettingsFile(const std::string& fileName, SettingsBytes& buffer);

// Replaces the settings file with the record. False when the file could not be written.
bool WriteSettingsFile(const std::string& fileName, const SettingsRecord& record);

// Copies a GBK path into a 128-byte field. A path that does not fit with its terminator
// (more than 127 bytes) is not stored: the field stays all zero and the result is false.
bool PutPathField(std::uint8_t* field, std::string_view path);

// The path held in a 128-byte field: the bytes before the first zero, and never more than
// 127 bytes, so that a field without terminator still reads as a path that fits.
std::string GetPathField(const std::uint8_t* field);

void PutInt32(std::uint8_t* at, std::int32_t value);
std::int32_t GetInt32(const std::uint8_t* at);

}  // namespace quvo
