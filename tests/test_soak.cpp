// Five hundred whole rounds of the game through the real dialog, in one process, as a child
// plays for an afternoon: a character is typed into the box or taken from the textbook's
// buttons, every piece is carried into the grid through the window, in writing order or not,
// now and then the demonstration runs first, the theme and the music change. The sounds are
// the program folder's own, played by Qt Multimedia. What the process holds (memory, open
// files, windows, the dialog's pieces and other objects, the balloon's registered windows)
// is measured after a warm-up and again at the end, each time with the same character
// loaded, and may not have grown.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/guipause.h"
#include "app/quvodlg.h"
#include "chardata/gbk.h"
#include "chardata/strokeitems.h"
#include "controls/buttonst.h"
#include "controls/mybutton.h"
#include "controls/xinfotip.h"
#include "media/mediadevices.h"
#include "media/qtmediadevices.h"
#include "settings/progressfile.h"
#include "settings/settingsrecord.h"
#include "strokes/bhwnd.h"
#include "strokes/strokegeometry.h"
#include "programfolder.h"

namespace {

constexpr int kRounds = 500;
constexpr int kWarmUpRounds = 50;

// From one stroke to thirty: the pieces' number, size and shapes all vary.
const char* const kCharacters[] = {"一", "人", "高", "永", "我", "山", "火", "心",
                                   "一", "人", "永", "我", "鼻", "馨", "爨"};

// What the process holds at one moment.
struct Usage {
    long residentKiB = 0;
    int openFiles = 0;
    int topLevelWidgets = 0;
    int windows = 0;
    int pieces = 0;
    int dialogObjects = 0;
    int tips = 0;
};

long ResidentKiB() {
    long size = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// What each open file descriptor is ("socket:[123]", a path, ...).
std::vector<std::string> OpenFileNames() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        names.push_back(std::filesystem::read_symlink(entry.path(), error).string());
    }
    return names;
}

int OpenFiles() { return static_cast<int>(OpenFileNames().size()); }

std::string Joined(const std::vector<std::string>& names) {
    std::string all;
    for (const std::string& name : names) {
        all += name + "\n";
    }
    return all;
}

}  // namespace

class TestSoak : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<quvo::test::ProgramFolder> m_dir;
    std::vector<quvo::MessageBoxCall> m_boxes;

    static std::string Gbk(const char* utf8) { return quvo::Utf8ToGbk(utf8).value(); }

    // Themes, tunes, the spoken stroke names and the first textbook.
    void LinkData() {
        for (int i = 1; i <= 10; ++i) {
            quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, m_dir->Path(), "theme/charming" + std::to_string(i) + ".bmp");
            quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, m_dir->Path(), "bmusic/start" + std::to_string(i) + ".mp3");
        }
        for (int i = 1; i <= 32; ++i) {
            quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, m_dir->Path(), "bihua/" + std::to_string(i) + ".mp3");
        }
        quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, m_dir->Path(), "book/基础篇.txt");
    }

    // The first-run choices, but no demonstration before each game (the test runs it itself)
    // and no music at first; a saved page, so that the start-up help stays away.
    void WriteSettings() {
        quvo::SettingsRecord r = quvo::DefaultSettings(Gbk(m_dir->Path().c_str()));
        r.demoBeforeAssembling = 0;
        r.backgroundMusic = 0;
        QVERIFY(quvo::WriteSettingsFile(m_dir->File("quvocf.cfg"), r));
        quvo::ProgressFile(m_dir->File("xxjd.cfg")).Save({quvo::StoredPath(Gbk(m_dir->Path().c_str()), r.bookPath), 0});
    }

    static void Click(CQuvoDlg& dlg, QPoint p) { QTest::mouseClick(dlg.windowHandle(), Qt::LeftButton, {}, p); }
    static void Move(CQuvoDlg& dlg, QPoint p) { QTest::mouseMove(dlg.windowHandle(), p); }
    static QPoint Centre(QWidget* w) { return w->mapTo(w->window(), w->rect().center()); }
    static void ClickControl(CQuvoDlg& dlg, int id) { Click(dlg, Centre(dlg.GetDlgItem(id))); }

    // A point well inside piece k: the middle of its widest row.
    static QPoint SolidPoint(CQuvoDlg& dlg, int k) {
        CBHWnd* piece = dlg.Piece(k);
        const auto& spans = piece->Region().Spans();
        const quvo::PolygonRegion::Span* best = &spans.front();
        for (const auto& s : spans) {
            if (s.right - s.left > best->right - best->left) {
                best = &s;
            }
        }
        return piece->pos() + QPoint((best->left + best->right) / 2, best->y);
    }

    // Rests on piece k, picks it up and carries it to its stroke's place in the grid, where
    // the demonstration puts it too, so that no piece put down covers the tray.
    static void Carry(CQuvoDlg& dlg, int k) {
        const QPoint rest = SolidPoint(dlg, k);
        Move(dlg, rest);
        Click(dlg, rest);
        QVERIFY2(dlg.m_pieceCarried == 1 && dlg.m_carriedPiece == k,
                 qPrintable(QStringLiteral("%1: piece %2 not picked up")
                                .arg(QString::fromStdString(quvo::GbkToUtf8(dlg.m_currentChar).value_or("")))
                                .arg(k)));
        quvo::Rect large;
        quvo::GetStrokeBounds(dlg.m_largeStrokes.StrokeAt(k), large);
        const QPoint place(dlg.m_panels.practice.left + 8 + large.left, dlg.m_panels.practice.top + 8 + large.top);
        const QPoint spot = place + (rest - dlg.Piece(k)->pos());  // the pointer keeps its hold
        Move(dlg, (rest + spot) / 2);
        Move(dlg, spot);
        Click(dlg, spot);
        QVERIFY(dlg.m_pieceCarried == 0);
    }

    // Typed into the box and sent with Return, as a child asks for a character.
    static void Type(CQuvoDlg& dlg, const char* utf8) {
        auto* edit = qobject_cast<QLineEdit*>(dlg.GetDlgItem(1044));
        Click(dlg, Centre(edit));
        edit->setText(QString::fromUtf8(utf8));
        QTest::keyClick(dlg.windowHandle(), Qt::Key_Return);
        QCOMPARE(std::string(dlg.m_currentChar), Gbk(utf8));
    }

    // One of the textbook page's characters, by a click on its button.
    static void TakeFromTextbook(CQuvoDlg& dlg, int round) {
        CMyButton* button = dlg.m_charButtons[static_cast<std::size_t>(round) % dlg.m_charButtons.size()];
        const std::string character = button->Character();
        Click(dlg, Centre(button));
        QCoreApplication::processEvents();  // the button posts its character
        QCOMPARE(std::string(dlg.m_currentChar), character);
    }

    // Clicks `button` and picks entry `entry` of the menu it opens.
    static void ChooseFromMenu(CQuvoDlg& dlg, CButtonST* button, int entry) {
        bool chosen = false;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            QAction* action = menu->actions().at(entry);
            QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {}, menu->actionGeometry(action).center());
            chosen = true;
        });
        Click(dlg, Centre(button));
        QVERIFY(chosen);
    }

    // The demonstration, one tick at a time: each piece into the grid, then all home.
    static void Demonstrate(CQuvoDlg& dlg, int round) {
        ClickControl(dlg, round % 2 ? 1042 : 1041);  // written out, or only moved
        ClickControl(dlg, 1010);
        QVERIFY(dlg.IsTimerRunning(CQuvoDlg::kDemoTimer));
        for (int tick = 0; tick <= dlg.m_strokeCount && dlg.IsTimerRunning(CQuvoDlg::kDemoTimer); ++tick) {
            dlg.OnTimer(CQuvoDlg::kDemoTimer);
        }
        QVERIFY(!dlg.IsTimerRunning(CQuvoDlg::kDemoTimer));
    }

    // Every piece into the grid, in writing order or with the first two swapped; the verdict
    // is praise, or the swapped pieces flash.
    static void Assemble(CQuvoDlg& dlg, bool rightOrder) {
        const int n = dlg.m_strokeCount;
        std::vector<int> order;
        for (int i = 1; i <= n; ++i) {
            order.push_back(quvo::StrokeOrderAt(dlg.m_strokeOrder, i, n));
        }
        const bool swapped = !rightOrder && n >= 2;
        if (swapped) {
            std::swap(order[0], order[1]);
        }
        for (int k : order) {
            Carry(dlg, k);
            if (QTest::currentTestFailed()) {
                return;
            }
        }
        QCOMPARE(dlg.m_placed.Count(), 0);  // judged, and the game starts over
        QVERIFY(dlg.IsTimerRunning(CQuvoDlg::kFlashTimer));
        if (swapped) {
            QVERIFY(dlg.m_resultPage.find("&f=no&b=1,2,") != std::string::npos);
            QCOMPARE(int(dlg.m_strokeMarks[0]), order[0]);
            dlg.OnTimer(CQuvoDlg::kFlashTimer);
        } else {
            QVERIFY(dlg.m_resultPage.find("&f=ok&b=&") != std::string::npos);
            QCOMPARE(dlg.m_infoTip->Text(), QStringLiteral("你真棒!\n全拼对了\n加油"));
            dlg.m_infoTip->OnTimer(CXInfoTip::kShowTimer);  // the balloon's delay is over
            QVERIFY(dlg.m_infoTip->isVisible());
        }
    }

    // A round's steps, each after the one before succeeded.
    static void PlayRound(CQuvoDlg& dlg, int round) {
        const std::function<void()> steps[] = {
            [&] {
                if (round % 10 == 9) {
                    TakeFromTextbook(dlg, round);
                } else {
                    Type(dlg, kCharacters[static_cast<std::size_t>(round) % std::size(kCharacters)]);
                }
            },
            [&] {
                if (round % 6 == 2) {
                    Demonstrate(dlg, round);
                }
            },
            [&] { Assemble(dlg, round % 3 != 1); },
            [&] {
                if (round % 20 == 7) {
                    ChooseFromMenu(dlg, dlg.m_btnBackground, round / 20 % 10);  // 主题1..主题10
                }
            },
            [&] {
                if (round % 25 == 12) {
                    ClickControl(dlg, 1013);  // the music on, or off again
                }
                if (round % 50 == 37) {
                    ChooseFromMenu(dlg, dlg.m_btnMusic, round / 50 % 10);  // 音乐1..音乐10
                }
            },
        };
        for (const auto& step : steps) {
            if (QTest::currentTestFailed()) {
                return;
            }
            step();
        }
    }

    // The same character each time, everything that was asked for done, then counted.
    static Usage Measure(CQuvoDlg& dlg) {
        Type(dlg, "永");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // The sounds play on a thread of their own, which closes them some time after the
        // dialog let them go.
        dynamic_cast<quvo::QtMediaDevices&>(quvo::MediaDevices::Default()).WaitUntilDone();
        QCoreApplication::processEvents();
        Usage u;
        u.openFiles = OpenFiles();
        u.residentKiB = ResidentKiB();
        u.topLevelWidgets = static_cast<int>(QApplication::topLevelWidgets().size());
        u.windows = static_cast<int>(QGuiApplication::allWindows().size());
        u.pieces = static_cast<int>(dlg.findChildren<CBHWnd*>().size());
        u.dialogObjects = static_cast<int>(dlg.findChildren<QObject*>().size());
        u.tips = static_cast<int>(dlg.m_infoTip->ToolCount());
        std::printf("resident %ld KiB, %d open files, %d top-level widgets, %d windows, %d pieces, "
                    "%d objects in the dialog, %d windows with a balloon\n",
                    u.residentKiB, u.openFiles, u.topLevelWidgets, u.windows, u.pieces, u.dialogObjects, u.tips);
        return u;
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<quvo::test::ProgramFolder>(&m_boxes);
        LinkData();
        quvo::MediaDevices::SetDefault(nullptr);  // the program's own players
        quvo::SetGuiPauseHook([](int) {});  // previews and fills go on without waiting
    }

    void cleanup() {
        quvo::SetGuiPauseHook({});
        m_dir.reset();
    }

    void fiveHundredRoundsLeaveNothingBehind() {
        WriteSettings();
        auto dlg = quvo::test::StartDialog(true);
        dlg->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dlg.get()));
        // Below the slider's least (100 ms a step): a piece writes itself out whole, without
        // the pauses that show each step, which would take most of the test's time.
        dlg->m_demoSpeed = 99;
        const auto start = std::chrono::steady_clock::now();
        Usage warm;
        for (int round = 0; round < kRounds; ++round) {
            PlayRound(*dlg, round);
            if (QTest::currentTestFailed()) {
                QFAIL(qPrintable(QStringLiteral("round %1").arg(round)));
            }
            if (round + 1 == kWarmUpRounds) {
                warm = Measure(*dlg);
            }
        }
        const Usage end = Measure(*dlg);
        std::printf("%d rounds in %.1f s\n", kRounds,
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        QVERIFY(m_boxes.empty());

        // Windows and objects come and go with each character, menu and sound: with the same
        // character loaded, there are exactly as many as after the warm-up.
        QCOMPARE(end.topLevelWidgets, warm.topLevelWidgets);
        QCOMPARE(end.windows, warm.windows);
        QCOMPARE(end.pieces, dlg->m_strokeCount);
        QCOMPARE(end.pieces, warm.pieces);
        QCOMPARE(end.dialogObjects, warm.dialogObjects);
        QCOMPARE(end.tips, warm.tips);
        QVERIFY2(end.openFiles == warm.openFiles,
                 qPrintable(QStringLiteral("%1 open files after the warm-up, %2 at the end:\n%3")
                                .arg(warm.openFiles)
                                .arg(end.openFiles)
                                .arg(QString::fromStdString(Joined(OpenFileNames())))));
#ifndef QUVO_SANITIZE
        // Some 3,000 sounds are opened and closed in the 450 rounds, and Qt's GStreamer player
        // keeps about half a KiB of each player it has made (measured in a program of its own,
        // with nothing of ours): some 2 MiB. 6 MiB over 450 rounds is 14 KiB a round, a third
        // of one small piece's picture (100 x 100 pixels are 40 KiB), so a piece, or anything
        // as large, left behind each round shows.
        QVERIFY2(end.residentKiB - warm.residentKiB <= 6 * 1024,
                 qPrintable(QStringLiteral("grew by %1 KiB").arg(end.residentKiB - warm.residentKiB)));
#else
        // AddressSanitizer keeps freed memory in quarantine and its own bookkeeping grows with
        // every allocation, so the resident size says nothing about leaks there.
#endif
    }
};

QTEST_MAIN(TestSoak)
#include "test_soak.moc"
