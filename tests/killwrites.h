#pragma once

#include <string>

#include "online/resultstore.h"
#include "settings/progressfile.h"
#include "settings/settingsrecord.h"

// The writes of the kill test. Its writer saves the settings, the progress and a result, each
// with the next generation number of its own file, again and again until it is killed; the
// test works out from a file's generation what the file must hold. Generation 0 is no file.
namespace quvo::test::killwrites {

inline constexpr char kClient[] = "127.0.0.1";
inline constexpr char kCharacter[] = "\xE4\xB8\x80";  // 一, UTF-8

// The record of settings write g: every field differs from the one before.
SettingsRecord SettingsFor(int g);

// Progress save g: three books in turn, each saved with the number of its save as position.
ProgressRecord ProgressFor(int g);
// The whole progress file after saves 1 .. g.
std::string ProgressFileFor(int g);

// Result g: one round of 一, every second one right.
StoredResult ResultFor(int g);

}  // namespace quvo::test::killwrites
