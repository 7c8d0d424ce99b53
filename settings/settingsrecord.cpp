#include "settings/settingsrecord.h"

#include <cstring>

#include "chardata/gbk.h"
#include "settings/atomicfile.h"

namespace quvo {
namespace {

constexpr std::size_t kSwitchesOffset = 0;
constexpr std::size_t kThemeOffset = 32;
constexpr std::size_t kMusicOffset = 160;
constexpr std::size_t kRightCueOffset = 288;
constexpr std::size_t kErrorCueOffset = 416;
constexpr std::size_t kBookOffset = 544;
constexpr std::size_t kSpeedOffset = 672;
constexpr std::size_t kModeOffset = 676;

// The switches in file order.
constexpr std::int32_t SettingsRecord::*kSwitches[] = {
    &SettingsRecord::showUnderlay, &SettingsRecord::showSample,
    &SettingsRecord::showGrid,     &SettingsRecord::hints,
    &SettingsRecord::strokeCheck,  &SettingsRecord::demoBeforeAssembling,
    &SettingsRecord::backgroundMusic, &SettingsRecord::showPinyin,
};

struct PathSlot {
    std::size_t offset;
    std::string SettingsRecord::*member;
};

constexpr PathSlot kPaths[] = {
    {kThemeOffset, &SettingsRecord::themePath},       {kMusicOffset, &SettingsRecord::musicPath},
    {kRightCueOffset, &SettingsRecord::rightCuePath}, {kErrorCueOffset, &SettingsRecord::errorCuePath},
    {kBookOffset, &SettingsRecord::bookPath},
};

}  // namespace

void PutInt32(std::uint8_t* at, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

std::int32_t GetInt32(const std::uint8_t* at) {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        bits |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    }
    return static_cast<std::int32_t>(bits);
}

bool PutPathField(std::uint8_t* field, std::string_view path) {
    std::memset(field, 0, kPathFieldSize);
    if (path.size() >= kPathFieldSize) {
        return false;
    }
    std::memcpy(field, path.data(), path.size());
    return true;
}

std::string GetPathField(const std::uint8_t* field) {
    const auto* chars = reinterpret_cast<const char*>(field);
    return std::string(chars, strnlen(chars, kPathFieldSize - 1));
}

SettingsBytes EncodeSettings(const SettingsRecord& record) {
    SettingsBytes bytes{};
    for (std::size_t i = 0; i < std::size(kSwitches); ++i) {
        PutInt32(bytes.data() + kSwitchesOffset + 4 * i, record.*kSwitches[i]);
    }
    for (const PathSlot& slot : kPaths) {
        PutPathField(bytes.data() + slot.offset, record.*slot.member);
    }
    PutInt32(bytes.data() + kSpeedOffset, record.demoSpeed);
    PutInt32(bytes.data() + kModeOffset, record.demoMode);
    return bytes;
}

SettingsRecord DecodeSettings(const SettingsBytes& bytes) {
    SettingsRecord record;
    for (std::size_t i = 0; i < std::size(kSwitches); ++i) {
        record.*kSwitches[i] = GetInt32(bytes.data() + kSwitchesOffset + 4 * i);
    }
    for (const PathSlot& slot : kPaths) {
        record.*slot.member = GetPathField(bytes.data() + slot.offset);
    }
    record.demoSpeed = GetInt32(bytes.data() + kSpeedOffset);
    record.demoMode = GetInt32(bytes.data() + kModeOffset);
    return record;
}

SettingsRecord DefaultSettings(std::string_view programFolder) {
    const std::string folder(programFolder);
    SettingsRecord record;
    for (auto member : kSwitches) {
        record.*member = 1;
    }
    record.strokeCheck = 0;
    record.themePath = folder + "/theme/charming1.bmp";
    record.musicPath = folder + "/bmusic/start1.mp3";
    record.rightCuePath = folder + "/bmusic/right1.mp3";
    record.errorCuePath = folder + "/bmusic/error1.mp3";
    record.bookPath = folder + "/book/" + Utf8ToGbk("基础篇.txt").value_or("");
    record.demoSpeed = kDefaultDemoSpeed;
    record.demoMode = kDefaultDemoMode;
    return record;
}

// A path that goes on with a second separator after the folder stays whole: made relative,
// it would start with a separator and read back as a path outside the folder.
std::string StoredPath(std::string_view programFolder, std::string_view path) {
    const std::size_t folder = programFolder.size();
    if (!programFolder.empty() && path.size() > folder + 1 && path.substr(0, folder) == programFolder &&
        path[folder] == '/' && path[folder + 1] != '/') {
        return std::string(path.substr(folder + 1));
    }
    return std::string(path);
}

std::string LoadedPath(std::string_view programFolder, std::string_view stored) {
    if (stored.empty() || stored.front() == '/') {
        return std::string(stored);
    }
    return std::string(programFolder) + "/" + std::string(stored);
}

namespace {

template <typename Change>
SettingsRecord EachPath(SettingsRecord record, Change change) {
    for (std::string* path : {&record.themePath, &record.musicPath, &record.rightCuePath,
                              &record.errorCuePath, &record.bookPath}) {
        *path = change(*path);
    }
    return record;
}

}  // namespace

SettingsRecord StoredPaths(std::string_view programFolder, SettingsRecord record) {
    return EachPath(std::move(record), [programFolder](const std::string& p) { return StoredPath(programFolder, p); });
}

SettingsRecord LoadedPaths(std::string_view programFolder, SettingsRecord record) {
    return EachPath(std::move(record), [programFolder](const std::string& p) { return LoadedPath(programFolder, p); });
}

SettingsRecord ValidatedSettings(const SettingsRecord& record) {
    SettingsRecord valid = record;
    for (auto member : kSwitches) {
        valid.*member = record.*member == 1 ? 1 : 0;
    }
    if (valid.demoSpeed < kMinDemoSpeed || valid.demoSpeed > kMaxDemoSpeed) {
        valid.demoSpeed = kDefaultDemoSpeed;
    }
    if (valid.demoMode != 0 && valid.demoMode != 1) {
        valid.demoMode = kDefaultDemoMode;
    }
    return valid;
}

int ReadSettingsFile(const std::string& fileName, SettingsBytes& buffer) {
    const auto head = ReadFileHead(fileName, kSettingsRecordSize);
    if (!head) {
        return -1;
    }
    std::memcpy(buffer.data(), head->data(), head->size());
    return 0;
}

bool WriteSettingsFile(const std::string& fileName, const SettingsRecord& record) {
    const SettingsBytes bytes = EncodeSettings(record);
    return ReplaceFileContents(
        fileName, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace quvo
