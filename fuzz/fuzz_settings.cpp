// The settings file "quvocf.cfg" as the program reads it at start and writes it at the end:
// read by its name, decoded, checked, its paths placed in the program folder and turned into
// local file names; then written back and read again.
#include "chardata/gbk.h"
#include "fuzz/fuzzsupport.h"
#include "settings/settingsrecord.h"

using quvo::fuzz::Check;

namespace {

constexpr char kFolder[] = "/opt/quvo";

void CheckValidated(const quvo::SettingsRecord& r) {
    for (const std::int32_t value :
         {r.showUnderlay, r.showSample, r.showGrid, r.hints, r.strokeCheck, r.demoBeforeAssembling,
          r.backgroundMusic, r.showPinyin}) {
        Check(value == 0 || value == 1, "a switch the dialog takes is 0 or 1");
    }
    Check(r.demoSpeed >= quvo::kMinDemoSpeed && r.demoSpeed <= quvo::kMaxDemoSpeed,
          "the demonstration speed is in its range");
    Check(r.demoMode == 0 || r.demoMode == 1, "the demonstration mode is move or write");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file =
        quvo::fuzz::PutScratchFile(quvo::kSettingsFileName, quvo::fuzz::AsText(data, size));
    quvo::SettingsBytes buffer{};
    Check(quvo::ReadSettingsFile(file, buffer) == 0, "a settings file that is there is read");
    const quvo::SettingsRecord decoded = quvo::DecodeSettings(buffer);
    Check(quvo::DecodeSettings(quvo::EncodeSettings(decoded)) == decoded,
          "a record read from any bytes is written and read back unchanged");

    const quvo::SettingsRecord validated = quvo::ValidatedSettings(decoded);
    CheckValidated(validated);
    const quvo::SettingsRecord loaded = quvo::LoadedPaths(kFolder, validated);
    for (const std::string* path : {&loaded.themePath, &loaded.musicPath, &loaded.rightCuePath,
                                    &loaded.errorCuePath, &loaded.bookPath}) {
        (void)quvo::GbkToUtf8(*path);
    }
    // A path inside the program folder may come back shorter, relative to it, but it must
    // name the same file the next time the settings are read.
    const quvo::SettingsRecord stored = quvo::StoredPaths(kFolder, loaded);
    Check(quvo::LoadedPaths(kFolder, stored) == loaded, "the stored paths name the files read");

    Check(quvo::WriteSettingsFile(file, stored), "the settings are written");
    quvo::SettingsBytes again{};
    Check(quvo::ReadSettingsFile(file, again) == 0 && quvo::DecodeSettings(again) == stored,
          "the written settings read back as they were");
    return 0;
}
