#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Shared by the fuzz targets: each is a libFuzzer entry point that hands the fuzzer's bytes to
// one reader of outside bytes, the way the program hands it a file or a request, and then
// checks what the reader gave back.

namespace quvo::fuzz {

// Stops the run with a message when a property of a reader's result does not hold; libFuzzer
// keeps the input that did it.
void Check(bool condition, const char* what);

// A folder of its own for the readers that take a file name, removed when the run ends. On
// Linux it lies in shared memory when that is writable, so the files cost no disk writes.
const std::string& ScratchFolder();

// Writes bytes to name in the scratch folder, replacing it; returns the whole path.
std::string PutScratchFile(const std::string& name, std::string_view bytes);

std::string_view AsText(const std::uint8_t* data, std::size_t size);

}  // namespace quvo::fuzz
