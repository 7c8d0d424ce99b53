// The cost of switching to a new character, as the child meets it: `LoadCharacter` until the
// dialog and every piece have painted (offscreen, the window exposed, events processed until
// no paint is pending). Run from the build folder:
//   bench/bench_switch                       one character after another, and the sweep
//   bench/bench_switch --benchmark_filter=Switch/
// Switch/: Google Benchmark's mean per switch, and as counters the median and p90 of single
// switches' CPU time. Sweep: every GB2312 character once, giving the median, p90, p99 and the
// slowest with its character. Memory: the resident size after start and after 1,000 switches.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <malloc.h>
#include <unistd.h>
#include <vector>

#include "app/quvodlg.h"
#include "chardata/gbk.h"
#include "controls/modal.h"
#include "online/webpanel.h"

namespace {

// Counts the paints and the update requests that lead to them.
class PaintCounter : public QObject {
public:
    long events = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint || e->type() == QEvent::UpdateRequest) {
            ++events;
        }
        return false;
    }
};

PaintCounter* g_paints = nullptr;

// Processes events until a pass delivers no paint and no update request.
void PaintEverything() {
    for (;;) {
        const long before = g_paints->events;
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (g_paints->events == before) {
            return;
        }
    }
}

double ResidentMiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Bytes handed out by malloc and not yet freed: growth here is the program's, growth of the
// resident size alone is pages of libraries, fonts or the allocator's free lists.
double HeapInUseMiB() { return double(mallinfo2().uordblks) / (1024.0 * 1024.0); }

std::string Gbk(int lead, int trail) {
    return std::string{char(lead), char(trail)};
}

// Every character of GB2312's two levels (rows 16 to 87), in code order.
std::vector<std::string> Gb2312() {
    std::vector<std::string> all;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            if (lead == 0xD7 && trail > 0xF9) continue;  // the end of level one
            all.push_back(Gbk(lead, trail));
        }
    }
    return all;
}

void WaitUntilExposed(QWidget& window) {
    QElapsedTimer timer;
    timer.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) &&
           timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

}  // namespace

// Reaches into the dialog the way its own tests do.
class QuvoDlgBench {
public:
    QuvoDlgBench() {
        QDir::setCurrent(QStringLiteral(QUVO_PROGRAM_DIR));
        // A program folder with no book chosen yet (a fresh build's) greets the learner with
        // the start-up help, whose modal loop would wait for a click forever offscreen.
        quvo::SetModalHook([](QDialog&) { return 0; });
        dlg.OnCreate();
        dlg.OnInitDialog();
        dlg.show();
        WaitUntilExposed(dlg);
        dlg.m_demoBeforeAssembling = 0;
        PaintEverything();
    }
    ~QuvoDlgBench() { dlg.m_exitStarted = true; }  // leave the program folder's files alone

    // One switch, timed from the call until nothing is left to paint.
    double Switch(const std::string& character) {
        const auto start = std::chrono::steady_clock::now();
        dlg.LoadCharacter(character.c_str());
        PaintEverything();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    }
    double Pieces() const { return double(dlg.m_pieces.size()); }
    void Pause() { CQuvoDlg::TrimHeap(); }  // what the dialog does once the child pauses
    void Settle() {
        dlg.KillTimer(CQuvoDlg::kHintTimer);
        dlg.KillTimer(CQuvoDlg::kDemoTimer);
    }

    CQuvoDlg dlg;
};

namespace {

QuvoDlgBench* g_dialog = nullptr;

// This thread's CPU time, the clock Google Benchmark's CPU column reads.
double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double Quantile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    return values[std::size_t(q * double(values.size() - 1))];
}

// Besides the mean that Google Benchmark reports, the median and p90 of single switches' CPU
// time, to set beside per-switch figures such as bench/compare_switch.sh's.
void Switch(benchmark::State& state, const char* utf8) {
    const std::string character = quvo::Utf8ToGbk(utf8).value();
    const std::string other = "\xC8\xCB";  // 人: each timed switch comes from another character
    std::vector<double> cpu;
    for (auto _ : state) {
        state.PauseTiming();
        g_dialog->Switch(other);
        g_dialog->Settle();
        state.ResumeTiming();
        const double start = ThreadCpuMs();
        g_dialog->Switch(character);
        cpu.push_back(ThreadCpuMs() - start);
        state.PauseTiming();
        g_dialog->Settle();
        state.ResumeTiming();
    }
    state.counters["pieces"] = g_dialog->Pieces();
    state.counters["switch_cpu_median_ms"] = Quantile(cpu, 0.5);
    state.counters["switch_cpu_p90_ms"] = Quantile(cpu, 0.9);
}

void SweepGb2312(benchmark::State& state) {
    const std::vector<std::string> all = Gb2312();
    std::vector<std::pair<double, std::string>> times;
    for (auto _ : state) {
        times.clear();
        for (const std::string& c : all) {
            times.push_back({g_dialog->Switch(c), c});
            g_dialog->Settle();
        }
    }
    std::sort(times.begin(), times.end());
    auto at = [&](double q) { return times[std::size_t(q * double(times.size() - 1))].first; };
    state.counters["median_ms"] = at(0.5);
    state.counters["p90_ms"] = at(0.9);
    state.counters["p99_ms"] = at(0.99);
    state.counters["max_ms"] = times.back().first;
    state.counters["characters"] = double(times.size());
    std::fprintf(stderr, "slowest switches:");
    for (std::size_t i = times.size(); i-- > times.size() - 5;) {
        std::fprintf(stderr, " %s %.2f ms",
                     quvo::GbkToUtf8(times[i].second).value_or("?").c_str(),
                     times[i].first);
    }
    std::fprintf(stderr, "\n");
}

void Memory(benchmark::State& state) {
    const std::vector<std::string> all = Gb2312();
    double before = 0, after = 0, heapBefore = 0, heapAfter = 0;
    for (auto _ : state) {
        before = ResidentMiB();
        heapBefore = HeapInUseMiB();
        for (int i = 0; i < 1000; ++i) {
            g_dialog->Switch(all[std::size_t(i * 7) % all.size()]);
            g_dialog->Settle();
        }
        g_dialog->Pause();
        after = ResidentMiB();
        heapAfter = HeapInUseMiB();
    }
    state.counters["heap_before_mib"] = heapBefore;
    state.counters["heap_after_1000_mib"] = heapAfter;
    state.counters["rss_before_mib"] = before;
    state.counters["rss_after_1000_mib"] = after;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    quvo::SetWebPanelEngine(false);
    PaintCounter paints;
    g_paints = &paints;
    app.installEventFilter(&paints);
    const double started = ResidentMiB();
    QuvoDlgBench dialog;
    g_dialog = &dialog;
    std::fprintf(stderr, "resident after start: %.1f MiB (%.1f before the dialog)\n", ResidentMiB(),
                 started);
    for (const char* c : {"一", "人", "高", "永", "我", "爨"}) {
        benchmark::RegisterBenchmark((std::string("Switch/") + c).c_str(), Switch, c)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    }
    benchmark::RegisterBenchmark("SweepGb2312", SweepGb2312)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("Memory", Memory)->Unit(benchmark::kMillisecond)->Iterations(1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
