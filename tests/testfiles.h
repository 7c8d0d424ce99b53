#pragma once

#include <filesystem>
#include <string>

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

std::string ReadAll(const std::string& fileName);
void WriteAll(const std::string& fileName, const std::string& bytes);

}  // namespace quvo::test
