#include "fuzz/fuzzsupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quvo::fuzz {

namespace {

std::string MakeScratchFolder() {
    std::filesystem::path base = "/dev/shm";
    if (access(base.c_str(), W_OK) != 0) {
        base = std::filesystem::temp_directory_path();
    }
    std::string pattern = (base / "quvo-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("quvo fuzz: no scratch folder");
        std::abort();
    }
    return pattern;
}

}  // namespace

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "quvo fuzz: property broken: %s\n", what);
        std::abort();
    }
}

const std::string& ScratchFolder() {
    // Never destroyed, so that the removal at exit still finds its name.
    static const std::string* folder = [] {
        const auto* made = new std::string(MakeScratchFolder());
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchFolder(), ignored);
        });
        return made;
    }();
    return *folder;
}

std::string PutScratchFile(const std::string& name, std::string_view bytes) {
    const std::string path = ScratchFolder() + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Check(static_cast<bool>(out), "the scratch file can be written");
    return path;
}

std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace quvo::fuzz
