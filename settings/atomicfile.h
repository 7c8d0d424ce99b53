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

// Replaces the whole file with bytes: the new contents go to a temporary file in the same
// folder, which is then renamed over the old one, so a crash in the middle never leaves a
// half-written file behind. False when nothing could be written.
bool ReplaceFileContents(const std::string& fileName, std::string_view bytes);

}  // namespace quvo
