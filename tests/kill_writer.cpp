// The kill test's writer: reads the settings, progress and results files of a folder as the
// next start of the program would, says which generation of each it found ("ready S P R"),
// then writes the next generation of each in turn through the program's own writers, saying
// each one once it is written ("s G", "p G", "r G"), until it is killed. A file it cannot read
// ends it with a line saying so and exit code 3; a write that fails, with exit code 4.
//   kill_writer FOLDER
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "killwrites.h"

namespace {

namespace kw = quvo::test::killwrites;

// Never runs on for long should the test that started it be gone without killing it.
constexpr auto kLongest = std::chrono::seconds(60);

void Say(const std::string& line) {
    const std::string text = line + "\n";
    if (write(1, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        _exit(5);
    }
}

[[noreturn]] void Stop(const std::string& why, int code) {
    Say(why);
    _exit(code);
}

// The generation of the settings file, as the program reads it at start; -1 when the file
// holds something no write made.
int SettingsGeneration(const std::string& file) {
    quvo::SettingsBytes buffer{};
    if (quvo::ReadSettingsFile(file, buffer) != 0) {
        return 0;
    }
    const quvo::SettingsRecord read = quvo::ValidatedSettings(quvo::DecodeSettings(buffer));
    int g = -1;
    if (std::sscanf(read.themePath.c_str(), "theme/%d.bmp", &g) != 1 || g < 1 ||
        read != kw::SettingsFor(g)) {
        return -1;
    }
    return g;
}

// The latest position saved in the progress file: the generation of its last save.
int ProgressGeneration(const std::string& file) {
    const quvo::ProgressFile progress(file);
    int g = 0;
    for (int save = 1; save <= 3; ++save) {
        quvo::ProgressRecord book = kw::ProgressFor(save);
        if (progress.LookUp(book) == 1) {
            g = std::max(g, book.position);
        }
    }
    return g;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        Stop("usage: kill_writer FOLDER", 2);
    }
    const std::string folder = argv[1];
    const std::string settingsFile = folder + "/" + quvo::kSettingsFileName;
    const std::string progressFile = folder + "/" + quvo::kProgressFileName;
    quvo::ResultStore results(folder + "/" + quvo::kResultsFileName);

    int s = SettingsGeneration(settingsFile);
    int p = ProgressGeneration(progressFile);
    int r = results.History(kw::kClient, kw::kCharacter).tries;
    if (s < 0) {
        Stop("settings unreadable", 3);
    }
    Say("ready " + std::to_string(s) + " " + std::to_string(p) + " " + std::to_string(r));

    const auto end = std::chrono::steady_clock::now() + kLongest;
    while (std::chrono::steady_clock::now() < end) {
        if (!quvo::WriteSettingsFile(settingsFile, kw::SettingsFor(++s))) {
            Stop("settings not written", 4);
        }
        Say("s " + std::to_string(s));
        quvo::ProgressFile(progressFile).Save(kw::ProgressFor(++p));
        Say("p " + std::to_string(p));
        if (!results.Add(kw::ResultFor(++r))) {
            Stop("result not written", 4);
        }
        Say("r " + std::to_string(r));
    }
    return 0;
}
