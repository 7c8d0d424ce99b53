#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quvo {

// File names here are local file names (UTF-8 on this platform), already converted from the
// GBK paths the program keeps.

// Reads at most maxBytes from the start of a file; nullopt when it cannot be opened.
std::optional<std::string> ReadFileHead(const std::string& fileName, std::size_t maxBytes);

// Replaces the whole file with bytes: the new contents go to "NAME.quvo-saving" in the same
// folder and reach the disk, then that file is renamed over the old one, so a crash in the
// middle never leaves a half-written file behind, and at most that one pending file. False
// when nothing could be written; the old file is then as it was.
bool ReplaceFileContents(const std::string& fileName, std::string_view bytes);

}  // namespace quvo
