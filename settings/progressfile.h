#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quvo {

// The progress file "xxjd.cfg": 132-byte records one after the other, each a 128-byte
// zero-terminated GBK textbook path and the 32-bit little-endian position reached in it.
// At most one record per path; records stay in the order their books were first saved.
inline constexpr std::size_t kProgressRecordSize = 132;
inline constexpr char kProgressFileName[] = "xxjd.cfg";

using ProgressBytes = std::array<std::uint8_t, kProgressRecordSize>;

struct ProgressRecord {
    std::string bookPath;  // GBK bytes, no terminator
    std::int32_t position = 0;
};

ProgressBytes EncodeProgress(const ProgressRecord& record);
ProgressRecord DecodeProgress(const std::uint8_t* bytes);

class ProgressFile {
public:
    explicit ProgressFile(std::string fileName) : m_fileName(std::move(fileName)) {}

    // 1 when a record with the query's path exists (exact, case-sensitive byte comparison);
    // its position is then copied into query.position. -1 otherwise: no file, an empty file,
    // no such record, or a path too long to be stored.
    int LookUp(ProgressRecord& query) const;

    // 1 when the record with the same path was replaced, -1 when the record was appended
    // (or could not be written at all). Only whole records of the file are kept: a trailing
    // partial record, left by a damaged file, is dropped rather than shifting the new record
    // off the 132-byte grid. A path longer than 127 bytes is not saved.
    int Save(const ProgressRecord& record);

private:
    std::string m_fileName;
};

}  // namespace quvo
