#include "settings/progressfile.h"

#include <cstring>
#include <filesystem>
#include <limits>
#include <optional>

#include "settings/atomicfile.h"
#include "settings/settingsrecord.h"

namespace quvo {
namespace {

constexpr std::size_t kPositionOffset = 128;

// The whole records of the file, as raw bytes; nullopt when it cannot be read.
std::optional<std::string> ReadWholeRecords(const std::string& fileName) {
    auto bytes = ReadFileHead(fileName, std::numeric_limits<int>::max());
    if (bytes) {
        bytes->resize(bytes->size() - bytes->size() % kProgressRecordSize);
    }
    return bytes;
}

const std::uint8_t* RecordAt(const std::string& records, std::size_t index) {
    return reinterpret_cast<const std::uint8_t*>(records.data()) + index * kProgressRecordSize;
}

// Index of the record whose path field equals path, or -1.
long FindRecord(const std::string& records, std::string_view path) {
    const std::size_t count = records.size() / kProgressRecordSize;
    for (std::size_t i = 0; i < count; ++i) {
        const auto* field = reinterpret_cast<const char*>(RecordAt(records, i));
        if (strnlen(field, kPathFieldSize) == path.size() &&
            std::memcmp(field, path.data(), path.size()) == 0) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

bool FitsPathField(std::string_view path) { return path.size() < kPathFieldSize; }

}  // namespace

ProgressBytes EncodeProgress(const ProgressRecord& record) {
    ProgressBytes bytes{};
    PutPathField(bytes.data(), record.bookPath);
    PutInt32(bytes.data() + kPositionOffset, record.position);
    return bytes;
}

ProgressRecord DecodeProgress(const std::uint8_t* bytes) {
    return ProgressRecord{GetPathField(bytes), GetInt32(bytes + kPositionOffset)};
}

int ProgressFile::LookUp(ProgressRecord& query) const {
    if (!FitsPathField(query.bookPath)) {
        return -1;
    }
    const auto records = ReadWholeRecords(m_fileName);
    if (!records) {
        return -1;
    }
    const long index = FindRecord(*records, query.bookPath);
    if (index < 0) {
        return -1;
    }
    query.position = GetInt32(RecordAt(*records, static_cast<std::size_t>(index)) + kPositionOffset);
    return 1;
}

int ProgressFile::Save(const ProgressRecord& record) {
    if (!FitsPathField(record.bookPath)) {
        return -1;
    }
    const auto existing = ReadWholeRecords(m_fileName);
    if (!existing && std::filesystem::exists(m_fileName)) {
        return -1;  // a file we cannot read is never overwritten with a single record
    }
    std::string records = existing.value_or(std::string());
    const ProgressBytes bytes = EncodeProgress(record);
    const std::string_view newRecord(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const long index = FindRecord(records, record.bookPath);
    if (index >= 0) {
        records.replace(static_cast<std::size_t>(index) * kProgressRecordSize, kProgressRecordSize,
                        newRecord);
    } else {
        records.append(newRecord);
    }
    if (!ReplaceFileContents(m_fileName, records)) {
        return -1;
    }
    return index >= 0 ? 1 : -1;
}

}  // namespace quvo
