// What a character page costs the page server: describing the character (store, stroke
// font, readings, textbook places) and writing the page, from a library that has read its
// tables and textbooks already. The goal is under 5 ms for the 30 strokes of 爨.

#include <benchmark/benchmark.h>

#include "online/characterlibrary.h"
#include "online/pages.h"

namespace {

const quvo::CharacterLibrary& WarmLibrary() {
    static const quvo::CharacterLibrary library(QUVO_PROGRAM_DIR, QUVO_PINYIN_TABLE);
    quvo::CharacterInfo info;
    library.Describe("一", info);  // reads the pinyin table and the textbooks once
    return library;
}

void CharacterPage(benchmark::State& state, const char* character) {
    const quvo::CharacterLibrary& library = WarmLibrary();
    for (auto _ : state) {
        quvo::CharacterInfo info;
        if (!library.Describe(character, info)) {
            state.SkipWithError("the character is not in the program folder");
            break;
        }
        const std::string page = quvo::CharacterPage(info);
        benchmark::DoNotOptimize(page.data());
    }
}
BENCHMARK_CAPTURE(CharacterPage, cuan, "爨")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(CharacterPage, gao, "高")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The page alone, from a description made once.
void CharacterPageOnly(benchmark::State& state) {
    quvo::CharacterInfo info;
    WarmLibrary().Describe("爨", info);
    for (auto _ : state) {
        const std::string page = quvo::CharacterPage(info);
        benchmark::DoNotOptimize(page.data());
    }
}
BENCHMARK(CharacterPageOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
