#include "testfiles.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace quvo::test {

TempFolder::TempFolder() {
    std::random_device device;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("quvo-test-" + std::to_string(device()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string ReadAll(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& fileName, const std::string& bytes) {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void LinkProgramFile(const std::filesystem::path& programFolder, const std::filesystem::path& folder,
                     const std::string& name) {
    const std::filesystem::path target = folder / name;
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::create_symlink(programFolder / name, target);
}

SegmentChain::~SegmentChain() { FreeStrokeList(m_head); }

SegmentChain& SegmentChain::Add(std::int32_t kind, const std::vector<StrokePoint>& points) {
    auto* seg = new OutlineSeg();
    seg->kind = kind;
    seg->pointCount = static_cast<std::uint32_t>(points.size());
    seg->points = AllocatePoints(points.size());
    std::copy(points.begin(), points.end(), seg->points);
    (m_last ? m_last->nextSeg : m_head->nextSeg) = seg;
    m_last = seg;
    return *this;
}

}  // namespace quvo::test
