// Speed of the stroke code: outline extraction, setting up a character with its piece
// windows, the fill animation without pauses, and working out stroke types from shapes. Run from the build folder:
//   QT_QPA_PLATFORM=offscreen bench/bench_strokes
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QWindow>

#include <string>
#include <vector>

#include "app/guipause.h"
#include "app/quvodlg.h"
#include "chardata/characterstore.h"
#include "chardata/strokeitems.h"
#include "controls/modal.h"
#include "online/webpanel.h"
#include "strokes/bhwnd.h"
#include "strokes/glyphoutline.h"
#include "strokes/glyphsource.h"
#include "strokes/polygonregion.h"
#include "strokes/strokeclassify.h"
#include "strokes/strokegeometry.h"

namespace {

const char* const kFontFile = QUVO_PROGRAM_DIR "/fonts/quvokai.ttf";
const char kGao[] = "\xB8\xDF";    // 高, 10 strokes
const char kCuan[] = "\xEC\xE0";   // 爨, 30 strokes, the most of GB2312

std::uint16_t Code(const char* gbk) {
    const auto* b = reinterpret_cast<const unsigned char*>(gbk);
    return static_cast<std::uint16_t>(b[0] * 256 + b[1]);
}

// Both sizes, as a character load does: metrics, outline stream, walk into a fresh list.
void ExtractBothSizes(benchmark::State& state, const char* character) {
    quvo::GlyphSource font(kFontFile);
    std::vector<std::uint8_t> bytes;
    for (auto _ : state) {
        for (int height : {180, 500}) {
            quvo::StrokeList list;
            list.Reset();
            const quvo::TextMetrics m = font.Metrics(height);
            font.NativeOutline(Code(character), height, bytes);
            const int n = quvo::WalkGlyphOutline(bytes.data(), bytes.size(), m.ascent, {},
                                                 list.SegmentCursor(), list.HeadCursor());
            benchmark::DoNotOptimize(n);
        }
    }
}
BENCHMARK_CAPTURE(ExtractBothSizes, gao, kGao)->Unit(benchmark::kMicrosecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(ExtractBothSizes, cuan, kCuan)->Unit(benchmark::kMicrosecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The store is opened and closed for every character; this is what that costs.
void StoreLookup(benchmark::State& state) {
    for (auto _ : state) {
        const quvo::StoreAnswer answer = quvo::QueryCharacterStore(QUVO_PROGRAM_DIR "/hz.db", kCuan);
        benchmark::DoNotOptimize(answer.strokeOrder.data());
    }
}
BENCHMARK(StoreLookup)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

void WaitUntilExposed(QWidget& window) {
    QElapsedTimer timer;
    timer.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

// Reaches into the dialog the way its own tests do.
class QuvoDlgBench {
public:
    static void SetUpCharacter(benchmark::State& state, const char* character) {
        QDir::setCurrent(QStringLiteral(QUVO_PROGRAM_DIR));
        CQuvoDlg dlg;
        dlg.OnCreate();
        dlg.OnInitDialog();
        dlg.show();
        WaitUntilExposed(dlg);  // so that each piece really paints when it is created
        for (auto _ : state) {
            state.PauseTiming();
            dlg.FreeCharacter();
            state.ResumeTiming();
            dlg.SetUpCharacter(character);
        }
        state.counters["pieces"] = static_cast<double>(dlg.m_pieces.size());
        dlg.m_exitStarted = true;  // leave the program folder's files as they are
    }

    // One whole round of 高 as the dialog plays it: load, then ten pick-ups, carries and
    // put-downs in writing order, the last of which judges the round. Fill delay 0, and
    // the preview's half-second pause left out. Only the put-downs are timed: each says its
    // stroke's name (real players) and writes the stroke out.
    static void GameRound(benchmark::State& state) {
        QDir::setCurrent(QStringLiteral(QUVO_PROGRAM_DIR));
        quvo::SetGuiPauseHook([](int) {});
        CQuvoDlg dlg;
        dlg.OnCreate();
        dlg.OnInitDialog();
        dlg.show();
        WaitUntilExposed(dlg);
        dlg.KillTimer(CQuvoDlg::kHintTimer);
        dlg.m_demoSpeed = 0;
        long putDowns = 0;
        for (auto _ : state) {
            state.PauseTiming();
            dlg.LoadCharacter(kGao);
            dlg.KillTimer(CQuvoDlg::kHintTimer);
            state.ResumeTiming();
            for (int i = 1; i <= dlg.m_strokeCount; ++i) {
                state.PauseTiming();
                const int k = quvo::StrokeOrderAt(dlg.m_strokeOrder, i, dlg.m_strokeCount);
                CBHWnd* piece = dlg.Piece(k);
                const QPoint from = piece->geometry().center();
                const QPoint to(300 + 40 * i, 100 + 30 * i);
                dlg.PickUpPiece(k, from);
                for (int step = 1; step <= 4; ++step) {
                    dlg.CarryPiece(from + (to - from) * step / 4);
                }
                state.ResumeTiming();
                dlg.PutDownPiece(to);
                ++putDowns;
            }
        }
        state.counters["put_downs"] = static_cast<double>(putDowns);
        state.counters["per_put_down"] = benchmark::Counter(
            static_cast<double>(putDowns), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
        state.counters["verdict_ok"] = dlg.m_resultPage.find("&f=ok") != std::string::npos ? 1 : 0;
        quvo::SetGuiPauseHook({});
        dlg.m_exitStarted = true;
    }
};

namespace {

void SetUpCharacter(benchmark::State& state, const char* character) {
    QuvoDlgBench::SetUpCharacter(state, character);
}
BENCHMARK_CAPTURE(SetUpCharacter, gao, kGao)->Unit(benchmark::kMillisecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(SetUpCharacter, cuan, kCuan)->Unit(benchmark::kMillisecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);

std::size_t Area(const quvo::PolygonRegion& region) {
    std::size_t area = 0;
    for (const auto& span : region.Spans()) {
        area += static_cast<std::size_t>(span.right - span.left);
    }
    return area;
}

// The fill of the stroke with the largest area among the large (height 500) strokes of 高
// and 爨, in a piece window, without pauses.
void GameRound(benchmark::State& state) { QuvoDlgBench::GameRound(state); }
BENCHMARK(GameRound)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

void AnimateFill(benchmark::State& state) {
    quvo::GlyphSource font(kFontFile);
    const quvo::TextMetrics m = font.Metrics(500);
    quvo::StrokeList lists[2];
    quvo::OutlineSeg* best = nullptr;
    quvo::Rect bestBounds;
    std::size_t bestArea = 0;
    int i = 0;
    for (const char* character : {kGao, kCuan}) {
        quvo::StrokeList& list = lists[i++];
        list.Reset();
        std::vector<std::uint8_t> bytes;
        font.NativeOutline(Code(character), 500, bytes);
        const int n = quvo::WalkGlyphOutline(bytes.data(), bytes.size(), m.ascent, {},
                                             list.SegmentCursor(), list.HeadCursor());
        for (int k = 1; k <= n; ++k) {
            quvo::OutlineSeg* chain = list.StrokeAt(k);
            quvo::Rect bounds;
            quvo::GetStrokeBounds(chain, bounds);
            quvo::SetStrokeOffset(chain, -bounds.left, -bounds.top);
            const std::size_t area = Area(quvo::PolygonRegion(quvo::GatherStrokePoints(chain)));
            quvo::ResetStrokeOffset(chain);
            if (area > bestArea) {
                best = chain;
                bestBounds = bounds;
                bestArea = area;
            }
        }
    }
    QWidget host;
    host.resize(800, 600);
    CBHWnd piece(&host);
    piece.m_strokeNumber = 1;
    piece.m_outline = best;
    piece.m_bounds = bestBounds;
    piece.m_colour = quvo::MakeColour(30, 144, 255);
    piece.m_strokeType = 0;
    piece.Create(&host, 2001, QRect(10, 10, bestBounds.Width() + 4, bestBounds.Height() + 4));
    host.show();
    long pixels = 0;
    for (auto _ : state) {
        state.PauseTiming();
        piece.FillPiece(piece.m_colour);  // back to its own colour: the fill has all to do again
        state.ResumeTiming();
        pixels += piece.AnimateFill(0, 0);
    }
    state.counters["stroke_area"] = static_cast<double>(bestArea);
    state.counters["pixels"] = static_cast<double>(pixels) / static_cast<double>(state.iterations());
    state.counters["pixels_per_s"] =
        benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kIsRate);
}
BENCHMARK(AnimateFill)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Working out the types of all 30 large strokes of 爨 from their shapes, as 30 drops of
// pieces without a type would: each stroke's region made from its outline, then analysed.
void IdentifyCuan(benchmark::State& state) {
    quvo::GlyphSource font(kFontFile);
    const quvo::TextMetrics m = font.Metrics(500);
    quvo::StrokeList list;
    list.Reset();
    std::vector<std::uint8_t> bytes;
    font.NativeOutline(Code(kCuan), 500, bytes);
    const int n = quvo::WalkGlyphOutline(bytes.data(), bytes.size(), m.ascent, {},
                                         list.SegmentCursor(), list.HeadCursor());
    int coded = 0;
    for (auto _ : state) {
        coded = 0;
        for (int k = 1; k <= n; ++k) {
            quvo::OutlineSeg* chain = list.StrokeAt(k);
            quvo::Rect bounds;
            quvo::GetStrokeBounds(chain, bounds);
            quvo::SetStrokeOffset(chain, -bounds.left, -bounds.top);
            const quvo::PolygonRegion region(quvo::GatherStrokePoints(chain));
            quvo::ResetStrokeOffset(chain);
            coded += quvo::IdentifyStrokeType(region).code >= 0;
        }
    }
    state.counters["strokes"] = n;
    state.counters["with_code"] = coded;
}
BENCHMARK(IdentifyCuan)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A program folder with no book chosen yet (a fresh build's) greets the learner with the
    // start-up help, whose modal loop would wait for a click forever offscreen.
    quvo::SetModalHook([](QDialog&) { return 0; });
    // The web panel only records the pages it is asked for: a browser engine brought up inside
    // this offscreen QApplication, without the program's own start-up, crashes it.
    quvo::SetWebPanelEngine(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
