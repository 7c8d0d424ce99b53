// Speed of a practice sheet: one page for 爨 (30 strokes, the most of GB2312), made as the
// command line and the print menu make it: a fresh library describes the character from the
// store, the font and the pinyin table, the layout places it and the painter writes the PDF
// (here into memory). Run from the build folder:
//   bench/bench_sheets
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>

#include <string>
#include <vector>

#include "app/kaifont.h"
#include "online/characterlibrary.h"
#include "sheets/sheetcontent.h"
#include "sheets/sheetpainter.h"

namespace {

std::string PinyinTable() {
    QFile table(QStringLiteral(":/txt/pinyin.txt"));
    return table.open(QIODevice::ReadOnly) ? table.readAll().toStdString() : std::string();
}

std::vector<quvo::SheetSection> DescribeCuan(const std::string& table) {
    const quvo::CharacterLibrary library(QUVO_PROGRAM_DIR, table);
    std::vector<std::string> unknown;
    return {quvo::DescribeSection(library, {"爨"}, {}, unknown)};
}

qint64 WritePdf(const std::vector<quvo::SheetSection>& sections) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    quvo::WriteSheetPdf(pdf, quvo::kPaperA4, sections);
    return pdf.size();
}

// The whole sheet, from the program folder to the PDF's bytes.
void SheetOfCuan(benchmark::State& state) {
    const std::string table = PinyinTable();
    qint64 bytes = 0;
    for (auto _ : state) {
        bytes = WritePdf(DescribeCuan(table));
    }
    const auto sections = DescribeCuan(table);
    state.counters["pdf_bytes"] = static_cast<double>(bytes);
    state.counters["pages"] = static_cast<double>(
        quvo::LayOutSheet(quvo::SectionStrokeCounts(sections), quvo::kPaperA4).pages.size());
}
BENCHMARK(SheetOfCuan)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Its two halves: the character from the program folder, and the layout and painting.
void DescribeOnly(benchmark::State& state) {
    const std::string table = PinyinTable();
    for (auto _ : state) {
        benchmark::DoNotOptimize(DescribeCuan(table));
    }
}
BENCHMARK(DescribeOnly)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void PaintOnly(benchmark::State& state) {
    const auto sections = DescribeCuan(PinyinTable());
    for (auto _ : state) {
        benchmark::DoNotOptimize(WritePdf(sections));
    }
}
BENCHMARK(PaintOnly)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    quvo::RegisterKaiFont(QStringLiteral(QUVO_PROGRAM_DIR "/fonts/quvokai.ttf"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
