#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "strokes/outlineseg.h"

namespace quvo::test {

// A fresh empty folder under the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Links the program folder's data file `name` (such as "fonts/quvokai.ttf") into `folder`,
// so that a test's program folder has what the real one has.
void LinkProgramFile(const std::filesystem::path& programFolder, const std::filesystem::path& folder,
                     const std::string& name);

// A stroke's segment chain built by hand, freed with the object.
class SegmentChain {
public:
    SegmentChain() = default;
    ~SegmentChain();
    SegmentChain(const SegmentChain&) = delete;
    SegmentChain& operator=(const SegmentChain&) = delete;

    SegmentChain& Add(std::int32_t kind, const std::vector<StrokePoint>& points);
    OutlineSeg* Segments() const { return m_head->nextSeg; }

private:
    OutlineSeg* m_head = NewHeadEntry();
    OutlineSeg* m_last = nullptr;
};

std::string ReadAll(const std::string& fileName);
void WriteAll(const std::string& fileName, const std::string& bytes);

}  // namespace quvo::test
