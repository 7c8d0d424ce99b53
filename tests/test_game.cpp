// The assembling game, its aids and its sounds, played through the dialog's window as a child
// plays it: clicks and moves go through the window, so the pieces' shapes decide what is hit.
// Stroke order and types come from a store written by the test for the real glyph of 口
// (three contours); the sounds go to the scriptable media devices.
#include <QAbstractButton>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <sqlite3.h>

#include <filesystem>
#include <memory>

#include "app/guipause.h"
#include "app/quvodlg.h"
#include "chardata/gbk.h"
#include "controls/messagebox.h"
#include "controls/mybutton.h"
#include "controls/myslidercontrol.h"
#include "controls/xinfotip.h"
#include "media/mcicodes.h"
#include "media/mcinotifyevent.h"
#include "media/scriptedmediadevices.h"
#include "media/scriptedsound.h"
#include "settings/progressfile.h"
#include "settings/settingsrecord.h"
#include "strokes/bhwnd.h"
#include "strokes/colourcontrast.h"
#include "strokes/qtstrokecanvas.h"
#include "programfolder.h"

class TestGame : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<quvo::test::ProgramFolder> m_dir;
    std::vector<quvo::MessageBoxCall> m_boxes;
    std::unique_ptr<quvo::ScriptedMediaDevices> m_media;
    std::vector<int> m_pauses;
    long long m_clock = 0;  // the fill animation's milliseconds

    // Lets `ms` pass for the fill animations and gives their timers the chance to write.
    void Elapse(long long ms) {
        m_clock += ms;
        QTest::qWait(40);
    }

    static std::string Gbk(const char* utf8) { return quvo::Utf8ToGbk(utf8).value(); }
    std::string Folder() const { return m_dir->Path().string(); }

    // A store with the one character 口 (three strokes) in the given order and types.
    void WriteStore(const char* order, const char* types) {
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(m_dir->File("hz.db").c_str(), &db), SQLITE_OK);
        const std::string sql = std::string("CREATE TABLE bishun (hanzi TEXT, bishun TEXT, bihuamc TEXT);"
                                            "INSERT INTO bishun VALUES ('口', '") +
                                order + "', '" + types + "');";
        QCOMPARE(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }

    // Settings that open a textbook whose first page is 口, with the options given.
    void WriteSettings(int music, int strokeCheck, int hints = 0) {
        quvo::test::WriteAll(m_dir->File("book/k.txt"), Gbk("口人"));
        quvo::SettingsRecord r = quvo::DefaultSettings(Gbk(Folder().c_str()));
        r.bookPath = Gbk((Folder() + "/book/k.txt").c_str());
        r.backgroundMusic = music;
        r.strokeCheck = strokeCheck;
        r.hints = hints;
        r.demoBeforeAssembling = 0;
        QVERIFY(quvo::WriteSettingsFile(m_dir->File("quvocf.cfg"), r));
        quvo::ProgressFile(m_dir->File("xxjd.cfg")).Save({r.bookPath, 0});
    }

    static std::unique_ptr<CQuvoDlg> StartDialog() { return quvo::test::StartDialog(true); }

    // A point well inside piece k, in dialog coordinates: the middle of its widest row.
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

    // A point of piece k that the pointer can rest on for the preview: two pixels inside the
    // piece on all four sides (a thin 横 has none in its widest row's middle).
    static QPoint RestPoint(CQuvoDlg& dlg, int k) {
        const quvo::PolygonRegion& r = dlg.Piece(k)->Region();
        for (const auto& s : r.Spans()) {
            for (int x = s.left + 2; x < s.right - 2; ++x) {
                if (r.Contains(x, s.y - 2) && r.Contains(x, s.y + 2)) {
                    return dlg.Piece(k)->pos() + QPoint(x, s.y);
                }
            }
        }
        return SolidPoint(dlg, k);
    }

    static void Click(CQuvoDlg& dlg, QPoint p) {
        QTest::mouseClick(dlg.windowHandle(), Qt::LeftButton, {}, p);
    }
    static void Move(CQuvoDlg& dlg, QPoint p) { QTest::mouseMove(dlg.windowHandle(), p); }

    // Picks piece k up, carries it to `to` in steps, and puts it down there. The pointer
    // first rests on the middle of the piece, as a child's does, and clicks right there: in
    // the tray the piece grows under the pointer meanwhile, and the click must still find it.
    static void Carry(CQuvoDlg& dlg, int k, QPoint to) {
        const QPoint rest = SolidPoint(dlg, k);
        Move(dlg, rest);
        Click(dlg, rest);
        QVERIFY2(dlg.m_pieceCarried == 1, qPrintable(QStringLiteral("piece %1 not picked up").arg(k)));
        const QPoint from = dlg.m_referencePoint;
        for (int i = 1; i <= 4; ++i) {
            Move(dlg, from + (to - from) * i / 4);
        }
        Click(dlg, to);
        QVERIFY(dlg.m_pieceCarried == 0);
    }

    // Where piece k goes in the grid: a spot of its own in the practice panel.
    static QPoint GridSpot(int k) { return QPoint(300 + 120 * k, 200); }

    std::vector<std::string> OpenedFiles() const {
        std::vector<std::string> files;
        for (const auto& c : m_media->Sent()) {
            if (c.message == quvo::mci::kOpen && c.result == 0) {
                files.push_back(c.open.alias + " " + c.open.elementName);
            }
        }
        return files;
    }

    static bool EndsWith(const std::string& s, const std::string& tail) {
        return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
    }

    void SaveShot(CQuvoDlg& dlg, const char* name) {
        QImage shot = dlg.grab().toImage();
        if (dlg.m_infoTip->isVisible()) {
            QPainter painter(&shot);
            const QPoint at = dlg.mapFromGlobal(dlg.m_infoTip->pos());
            painter.setClipRegion(dlg.m_infoTip->mask().translated(at));
            painter.drawPixmap(at, dlg.m_infoTip->grab());
        }
        QVERIFY(shot.save(QStringLiteral(QUVO_TEST_OUTPUT_DIR "/") + QString::fromLatin1(name)));
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<quvo::test::ProgramFolder>(&m_boxes, quvo::test::ProgramFolder::kOwnStore);
        quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, m_dir->Path(), "theme/charming1.bmp");
        std::filesystem::create_directory(m_dir->Path() / "book");
        m_media = std::make_unique<quvo::ScriptedMediaDevices>();
        quvo::MediaDevices::SetDefault(m_media.get());
        m_pauses.clear();
        quvo::SetGuiPauseHook([this](int ms) { m_pauses.push_back(ms); });
        m_clock = 0;
        CBHWnd::SetFillClock([this] { return m_clock; });
    }

    void cleanup() {
        CBHWnd::SetFillClock({});
        quvo::SetGuiPauseHook({});
        quvo::MediaDevices::SetDefault(nullptr);
        m_media.reset();
        m_dir.reset();
    }

    void aPieceDownOutsideTheGridIsNotPlacedAndTakingItBackUnplacesIt() {
        WriteStore("1,2,3", "0,1,2");
        WriteSettings(0, 0);
        auto dlg = StartDialog();
        QCOMPARE(std::string(dlg->m_currentChar), Gbk("口"));
        QCOMPARE(dlg->m_strokeCount, 3);
        Carry(*dlg, 1, QPoint(120, 700));  // the bottom panel
        QCOMPARE(dlg->m_placed.Count(), 0);

        Carry(*dlg, 1, GridSpot(1));
        QCOMPARE(dlg->m_placed.Text(), std::string("1,"));
        QCOMPARE(dlg->Piece(1)->m_outline, dlg->m_largeStrokes.StrokeAt(1));  // large over the grid

        Carry(*dlg, 1, GridSpot(1) + QPoint(30, 60));  // moved within the grid
        QCOMPARE(dlg->m_placed.Text(), std::string("1,"));
        SaveShot(*dlg, "game-half-placed.png");

        Carry(*dlg, 1, QPoint(100, 400));  // back to the tray
        QCOMPARE(dlg->m_placed.Count(), 0);
        QCOMPARE(dlg->Piece(1)->m_outline, dlg->m_smallStrokes.StrokeAt(1));
    }

    void theWrongOrderMakesTheMisplacedPiecesFlash() {
        WriteStore("1,2,3", "0,1,2");
        WriteSettings(0, 0);
        auto dlg = StartDialog();
        Carry(*dlg, 2, GridSpot(2));
        Carry(*dlg, 1, GridSpot(1));
        Carry(*dlg, 3, GridSpot(3));
        QCOMPARE(dlg->m_placed.Count(), 0);  // judged, and the game starts over
        QVERIFY(dlg->m_resultPage.find("&f=no&b=1,2,&c=3&s=") != std::string::npos);
        QCOMPARE(dlg->m_strokeMarks, (std::vector<std::uint8_t>{2, 1, 0}));
        QVERIFY(dlg->IsTimerRunning(CQuvoDlg::kFlashTimer));
        QVERIFY(dlg->m_infoTip->Text().isEmpty());

        dlg->OnTimer(CQuvoDlg::kFlashTimer);
        const QImage one = dlg->Piece(1)->Surface(), two = dlg->Piece(2)->Surface();
        const QPoint p1 = SolidPoint(*dlg, 1) - dlg->Piece(1)->pos();
        const QPoint p2 = SolidPoint(*dlg, 2) - dlg->Piece(2)->pos();
        QCOMPARE(QColor(one.pixel(p1)), QColor(two.pixel(p2)));  // one colour for all that flash
        const QPoint p3 = SolidPoint(*dlg, 3) - dlg->Piece(3)->pos();
        QVERIFY(QColor(dlg->Piece(3)->Surface().pixel(p3)) != QColor(one.pixel(p1)));
        SaveShot(*dlg, "game-wrong-flashing.png");
    }

    void theRightOrderIsPraised() {
        WriteStore("2,1,3", "0,1,2");
        WriteSettings(0, 0, 1);
        auto dlg = StartDialog();
        QVERIFY(dlg->IsTimerRunning(CQuvoDlg::kHintTimer));
        Carry(*dlg, 2, GridSpot(2));
        Carry(*dlg, 1, GridSpot(1));
        // The last piece goes down at the top of the grid: the praise must not leave the
        // window there, and its tail still points at the pointer.
        const QPoint top(400, 6);
        QCursor::setPos(dlg->mapToGlobal(top));  // where the pointer is for the balloon
        Carry(*dlg, 3, top);
        QVERIFY(dlg->m_resultPage.find("&f=ok&b=&c=3") != std::string::npos);
        QVERIFY(!dlg->IsTimerRunning(CQuvoDlg::kHintTimer));  // every piece placed
        QCOMPARE(dlg->m_infoTip->Text(), QStringLiteral("你真棒!\n全拼对了\n加油"));
        dlg->m_infoTip->OnTimer(CXInfoTip::kShowTimer);
        QVERIFY(dlg->m_infoTip->isVisible());
        const QRect balloon = dlg->m_infoTip->geometry();
        QVERIFY(dlg->frameGeometry().contains(balloon));
        QCOMPARE(balloon.topLeft() + dlg->m_infoTip->CurrentBalloon().TailTip(), dlg->mapToGlobal(top));
        SaveShot(*dlg, "game-praised.png");
    }

    void placingSaysTheStrokeAndWritesItOut() {
        WriteStore("1,2,3", "3,-1,40");
        WriteSettings(0, 0);
        auto dlg = StartDialog();
        m_media->ClearSent();
        m_pauses.clear();
        Carry(*dlg, 1, GridSpot(1));
        CBHWnd* piece = dlg->Piece(1);
        QCOMPARE(piece->m_player.Alias(), std::string("QuvoMedia10"));
        QCOMPARE(piece->m_player.FilePath(), std::string("bihua/4.mp3"));
        QVERIFY(piece->m_player.IsOpen());
        // The fill runs on its own while the game goes on: 100 pixels every 10 ms at the
        // default speed, at least 0.3 s; it writes the piece in its complement.
        QVERIFY(piece->IsFilling());
        QVERIFY(m_pauses.empty());  // nothing held the window
        const QPoint seedish = SolidPoint(*dlg, 1) - piece->pos();
        Elapse(10000);
        QVERIFY(!piece->IsFilling());
        QCOMPARE(piece->Surface().pixel(seedish), quvo::ToQColor(quvo::Complement(piece->m_colour)).rgb());
        // Type -1 is worked out from the shape: the left side of 口 is a 竖 (code 1), as the
        // real store has it. Type 40 says nothing.
        Carry(*dlg, 2, GridSpot(2));
        QCOMPARE(dlg->Piece(2)->m_strokeType, 1);
        QVERIFY(dlg->Piece(2)->m_player.IsOpen());
        Carry(*dlg, 3, GridSpot(3));
        QVERIFY(!dlg->Piece(3)->m_player.IsOpen());
        QCOMPARE(OpenedFiles(), (std::vector<std::string>{"QuvoMedia10 bihua/4.mp3", "QuvoMedia11 bihua/2.mp3"}));

        // Another device's end leaves the piece's sound alone; its own end closes it.
        const quvo::MciDeviceId id = piece->m_player.DeviceId();
        QCoreApplication::postEvent(piece, new quvo::MciNotifyEvent(quvo::mci::kNotifySuccessful, id + 100));
        QCoreApplication::processEvents();
        QVERIFY(piece->m_player.IsOpen());
        QVERIFY(m_media->FinishPlaying(id));
        QCoreApplication::processEvents();
        QVERIFY(!piece->m_player.IsOpen());
    }

    // Nothing holds the window while a stroke writes itself out: the click on the next piece
    // picks it up at once, and the piece before goes on writing.
    void theNextPieceIsPickedUpWhileTheLastOneWrites() {
        WriteStore("1,2,3", "0,1,2");
        WriteSettings(0, 0);
        auto dlg = StartDialog();
        Move(*dlg, SolidPoint(*dlg, 1));
        Click(*dlg, SolidPoint(*dlg, 1));
        Move(*dlg, GridSpot(1));
        Click(*dlg, GridSpot(1));
        QVERIFY(dlg->Piece(1)->IsFilling());
        Move(*dlg, SolidPoint(*dlg, 2));
        Click(*dlg, SolidPoint(*dlg, 2));
        QCOMPARE(dlg->m_pieceCarried, 1);
        QCOMPARE(dlg->m_carriedPiece, 2);
        QVERIFY(dlg->Piece(1)->IsFilling());
        Move(*dlg, GridSpot(2));
        Click(*dlg, GridSpot(2));
        QCOMPARE(dlg->m_placed.Text(), std::string("1,2,"));
        // Picked up again while it writes: the fill ends at once, whole, and the piece moves.
        Move(*dlg, SolidPoint(*dlg, 2));
        Click(*dlg, SolidPoint(*dlg, 2));
        QVERIFY(!dlg->Piece(2)->IsFilling());
        QCOMPARE(dlg->m_carriedPiece, 2);
        Elapse(10000);
        QVERIFY(!dlg->Piece(1)->IsFilling());
        QVERIFY(m_pauses.empty());
    }

    // Where the pointer holds piece k, in its window: the offset that must stay the same
    // while it is carried, whatever way.
    static QPoint Held(CQuvoDlg& dlg, int k, QPoint pointer) { return pointer - dlg.Piece(k)->pos(); }

    // Pressed on a piece and moved with the button held, the piece follows at once and the
    // release puts it down; a click whose pointer wobbles less than the drag distance still
    // carries the piece to the next click, and never shifts it under the pointer.
    void aDraggedPieceFollowsAndTheReleasePutsItDown() {
        quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, m_dir->Path(), "hz.db");
        WriteSettings(0, 0);
        auto dlg = StartDialog();
        QWindow* window = dlg->windowHandle();
        dlg->LoadCharacter(Gbk("大").c_str());
        for (int placed = 0; placed < dlg->m_strokeCount; ++placed) {
            const int k = quvo::HintStroke(dlg->m_strokeOrder, placed, dlg->m_strokeCount);  // in writing order
            const QPoint from = SolidPoint(*dlg, k);
            Move(*dlg, from);
            QTest::mousePress(window, Qt::LeftButton, {}, from);
            QPoint held = Held(*dlg, k, from);
            QSize size = dlg->Piece(k)->size();
            const QPoint to = GridSpot(k);
            for (int i = 1; i <= 8; ++i) {
                const QPoint at = from + (to - from) * i / 8;
                QTest::mouseMove(window, at);
                QCOMPARE(dlg->m_pieceCarried, 1);
                // Grown or shrunk on the way, the pressed point of the stroke stays under the
                // pointer; otherwise the piece keeps its offset exactly.
                const QPoint in = Held(*dlg, k, at);
                QVERIFY2(dlg->Piece(k)->Region().Contains(in.x(), in.y()),
                         qPrintable(QStringLiteral("piece %1 left the pointer at step %2").arg(k).arg(i)));
                if (dlg->Piece(k)->size() == size) {
                    QCOMPARE(in, held);
                }
                held = in;
                size = dlg->Piece(k)->size();
            }
            QTest::mouseRelease(window, Qt::LeftButton, {}, to);
            QCOMPARE(dlg->m_pieceCarried, 0);
            QCOMPARE(dlg->m_placed.Count(), placed + 1 < dlg->m_strokeCount ? placed + 1 : 0);
        }
        QVERIFY2(dlg->m_resultPage.find("&f=ok") != std::string::npos, dlg->m_resultPage.c_str());

        for (int wobble : {3, 5, 9}) {  // below the drag distance: a click
            const QPoint from = SolidPoint(*dlg, 1);
            Move(*dlg, from);
            QTest::mousePress(window, Qt::LeftButton, {}, from);
            const QPoint held = Held(*dlg, 1, from);
            QTest::mouseMove(window, from + QPoint(wobble, 0));
            QTest::mouseRelease(window, Qt::LeftButton, {}, from + QPoint(wobble, 0));
            QCOMPARE(dlg->m_pieceCarried, 1);
            QCOMPARE(Held(*dlg, 1, from + QPoint(wobble, 0)), held);
            Move(*dlg, from + QPoint(wobble + 20, 10));
            QCOMPARE(Held(*dlg, 1, from + QPoint(wobble + 20, 10)), held);
            Click(*dlg, from + QPoint(wobble + 20, 10));
            QCOMPARE(dlg->m_pieceCarried, 0);
        }
    }

    // Quick hands: the click that puts a piece down picks nothing else up, even on another
    // piece; a double click on a piece picks it up and keeps it.
    void aPutDownClickDoesNothingElseAndADoubleClickKeepsThePiece() {
        WriteStore("1,2,3", "0,1,2");
        WriteSettings(0, 0);
        auto dlg = StartDialog();
        QWindow* window = dlg->windowHandle();
        const QPoint one = SolidPoint(*dlg, 1), two = SolidPoint(*dlg, 2);
        Move(*dlg, one);
        QTest::mouseDClick(window, Qt::LeftButton, {}, one);
        QCOMPARE(dlg->m_pieceCarried, 1);
        QCOMPARE(dlg->m_carriedPiece, 1);
        Move(*dlg, two);
        Click(*dlg, two);  // on piece 2: piece 1 goes down there, piece 2 stays
        QCOMPARE(dlg->m_pieceCarried, 0);
        QCOMPARE(dlg->m_carriedPiece, 1);
        QCOMPARE(dlg->Piece(2)->geometry().topLeft(), QPoint(dlg->Piece(2)->m_homeRect.left, dlg->Piece(2)->m_homeRect.top));
    }

    // A click in the grid or the tray, or Escape, ends a running demonstration: every piece is
    // home in the tray, nothing is placed, and the next click plays.
    void aClickOrEscapeEndsTheDemonstration() {
        WriteStore("2,1,3", "0,1,2");
        WriteSettings(0, 0);
        auto dlg = StartDialog();
        auto home = [&](int k) {
            return dlg->Piece(k)->pos() == QPoint(dlg->Piece(k)->m_homeRect.left, dlg->Piece(k)->m_homeRect.top);
        };
        for (int way = 0; way < 3; ++way) {
            dlg->m_demoMode = way == 1 ? 1 : 0;
            dlg->OnDemoButton();
            dlg->OnTimer(CQuvoDlg::kDemoTimer);
            dlg->OnTimer(CQuvoDlg::kDemoTimer);
            QVERIFY(!home(2) && !home(1));
            if (way == 0) {
                Click(*dlg, QPoint(700, 500));  // in the grid
            } else if (way == 1) {
                Click(*dlg, SolidPoint(*dlg, 3));  // on a piece in the tray
            } else {
                QTest::keyClick(dlg.get(), Qt::Key_Escape);
            }
            QVERIFY2(!dlg->IsTimerRunning(CQuvoDlg::kDemoTimer), qPrintable(QString::number(way)));
            QCOMPARE(dlg->m_pieceCarried, 0);
            QCOMPARE(dlg->m_placed.Count(), 0);
            for (int k = 1; k <= 3; ++k) {
                QVERIFY(home(k));
                QCOMPARE(dlg->Piece(k)->m_outline, dlg->m_smallStrokes.StrokeAt(k));
            }
        }
        Carry(*dlg, 2, GridSpot(2));
        QCOMPARE(dlg->m_placed.Text(), std::string("2,"));
    }

    // The enlarged piece stays whole inside the window, also at the tray's left edge, and a
    // press where the small piece lay still picks it up.
    void thePreviewStaysInsideTheWindow() {
        quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, m_dir->Path(), "hz.db");
        WriteSettings(0, 0);
        auto dlg = StartDialog();
        int previews = 0;
        for (const char* utf8 : {"高", "我", "爨"}) {
            dlg->LoadCharacter(Gbk(utf8).c_str());
            for (int k = 1; k <= dlg->m_strokeCount; ++k) {
                const QRect home = dlg->Piece(k)->geometry();
                if (home.left() > 20) {
                    continue;  // only the pieces at the left edge
                }
                const QPoint at = RestPoint(*dlg, k);
                Move(*dlg, at);
                QVERIFY2(dlg->m_hoveredPiece == k, qPrintable(QStringLiteral("%1 %2 at %3,%4 home %5,%6 carried %7").arg(QString::fromUtf8(utf8)).arg(k).arg(at.x()).arg(at.y()).arg(home.x()).arg(home.y()).arg(dlg->m_pieceCarried)));
                ++previews;
                QVERIFY2(dlg->rect().contains(dlg->Piece(k)->geometry()), utf8);
                Click(*dlg, at);
                QCOMPARE(dlg->m_pieceCarried, 1);
                QCOMPARE(dlg->m_carriedPiece, k);
                Move(*dlg, GridSpot(k % 3));
                Click(*dlg, GridSpot(k % 3));
            }
        }
        QVERIFY(previews >= 3);
    }

    // A child plays whole characters without waiting: it rests the pointer on the middle of
    // the next piece and clicks right there while the piece it put down is still writing
    // itself out. Every click must pick up the piece it was aimed at, however the piece grew.
    void everyClickAtAChildsPacePicksUpItsPiece() {
        quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, m_dir->Path(), "hz.db");  // real types: pieces write
        WriteSettings(0, 0);
        auto dlg = StartDialog();
        QWindow* window = dlg->windowHandle();
        auto post = [window](QEvent::Type type, QPoint p) {
            const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
            const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
            QCoreApplication::postEvent(window, new QMouseEvent(type, p, window->mapToGlobal(p), button, held, {}));
        };
        for (const char* utf8 : {"高", "永", "我", "火", "山", "木", "心", "十", "爨"}) {
            dlg->LoadCharacter(Gbk(utf8).c_str());
            const int n = dlg->m_strokeCount;
            QPoint rest = SolidPoint(*dlg, 1);
            Move(*dlg, rest);
            Click(*dlg, rest);
            for (int k = 1; k <= n; ++k) {
                QVERIFY2(dlg->m_pieceCarried == 1 && dlg->m_carriedPiece == k,
                         qPrintable(QStringLiteral("%1: piece %2 not picked up").arg(QString::fromUtf8(utf8)).arg(k)));
                const QPoint spot(300 + (k * 53) % 450, 60 + (k * 37) % 440);
                Move(*dlg, (rest + spot) / 2);
                Move(*dlg, spot);
                rest = k < n ? SolidPoint(*dlg, k + 1) : QPoint();
                Click(*dlg, spot);
                QVERIFY2(dlg->Piece(k)->IsFilling(), utf8);  // every stroke of these has its type
                if (k < n) {  // the next piece, while this one still writes itself out
                    for (QEvent::Type t : {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                        post(t, rest);
                    }
                    QCoreApplication::processEvents();
                }
            }
            QCOMPARE(dlg->m_pieceCarried, 0);
            QCOMPARE(dlg->m_placed.Count(), 0);  // all n placed and judged
            QVERIFY(!dlg->m_resultPage.empty());
        }
    }

    // The share of the picture's pixels under `spans` (placed at `at`) that `colour` stands
    // clear of.
    static double ClearShare(const QImage& picture, quvo::Colour colour, QPoint at,
                             const std::vector<quvo::PolygonRegion::Span>& spans) {
        int clear = 0, all = 0;
        for (const auto& s : spans) {
            for (int x = s.left; x < s.right; ++x, ++all) {
                const QRgb under = picture.pixel(at + QPoint(x, s.y));
                clear += quvo::ColourDistance(colour, quvo::MakeColour(qRed(under), qGreen(under), qBlue(under))) >= 30;
            }
        }
        return double(clear) / all;
    }

    // On every theme picture, each piece stands out from what lies under it in the tray; each
    // character button's caption stands out from what lies under the caption.
    void piecesAndCaptionsStandOutFromEveryTheme() {
        WriteStore("1,2,3", "0,1,2");
        WriteSettings(0, 0);
        auto dlg = StartDialog();
        std::vector<quvo::PolygonRegion::Span> caption;  // 60 high, centred in 100 x 100
        for (int y = 20; y < 80; ++y) {
            caption.push_back({y, 20, 80});
        }
        const QImage startTheme(QString::fromStdString(m_dir->File("theme/charming1.bmp")));
        for (CMyButton* button : dlg->m_charButtons) {
            const QColor c = button->NormalTextColor();
            QVERIFY(ClearShare(startTheme, quvo::MakeColour(c.red(), c.green(), c.blue()), button->pos(), caption) >= 0.9);
        }
        for (int t = 1; t <= 10; ++t) {
            const std::string theme = "theme/charming" + std::to_string(t) + ".bmp";
            if (t > 1) {  // the first is there already
                quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, m_dir->Path(), theme.c_str());
            }
            const QImage picture(QString::fromStdString(m_dir->File(theme)));
            QVERIFY(dlg->LoadBackgroundPicture(Gbk(m_dir->File(theme).c_str())));
            for (const char* utf8 : {"高", "永", "我", "森"}) {
                dlg->LoadCharacter(Gbk(utf8).c_str());
                for (int k = 1; k <= dlg->m_strokeCount; ++k) {
                    CBHWnd* piece = dlg->Piece(k);
                    QVERIFY2(ClearShare(picture, piece->m_colour, piece->pos(), piece->Region().Spans()) >= 0.9,
                             qPrintable(QStringLiteral("%1 piece %2 on theme %3").arg(QString::fromUtf8(utf8)).arg(k).arg(t)));
                }
            }
        }
    }

    void previewOnlyInTheTray() {
        WriteStore("1,2,3", "0,1,2");
        WriteSettings(0, 0);
        auto dlg = StartDialog();
        CBHWnd* piece = dlg->Piece(2);
        const QRect home = piece->geometry();
        Move(*dlg, SolidPoint(*dlg, 2));
        QCOMPARE(dlg->m_hoveredPiece, 2);
        QCOMPARE(piece->m_outline, dlg->m_largeStrokes.StrokeAt(2));
        QVERIFY(piece->width() > home.width());
        QVERIFY(m_pauses.empty());  // shown at once; nothing waits
        Move(*dlg, QPoint(200, 740));  // off its place in the tray
        QCOMPARE(dlg->m_hoveredPiece, -1);
        QCOMPARE(piece->geometry(), home);

        Carry(*dlg, 2, GridSpot(2));
        m_pauses.clear();
        const QRect placed = piece->geometry();
        Move(*dlg, SolidPoint(*dlg, 2));
        QCOMPARE(dlg->m_hoveredPiece, -1);
        QCOMPARE(piece->geometry(), placed);
        QVERIFY(m_pauses.empty());
    }

    void theCarriedPieceStopsAtTheWebPanel() {
        WriteStore("1,2,3", "0,1,2");
        WriteSettings(0, 0);
        auto dlg = StartDialog();
        Click(*dlg, SolidPoint(*dlg, 3));
        Move(*dlg, QPoint(500, 300));
        CBHWnd* piece = dlg->Piece(3);
        const QRect before = piece->geometry();
        const int room = dlg->m_panels.web.left - (before.right() + 1);
        Move(*dlg, QPoint(500 + room + 40, 300));  // would cross into the web panel
        QCOMPARE(piece->geometry(), before);
        QCOMPARE(dlg->m_referencePoint, QPoint(500, 300));
        Move(*dlg, QPoint(500 + room, 310));  // allowed again: it catches up at once
        QCOMPARE(piece->geometry().right() + 1, dlg->m_panels.web.left);
        Click(*dlg, QPoint(500 + room, 310));
    }

    void theCheckRefusesAWrongPieceAndGreetsTheRightOne() {
        WriteStore("2,1,3", "0,1,2");
        WriteSettings(0, 1);
        auto dlg = StartDialog();
        Click(*dlg, SolidPoint(*dlg, 1));
        QCOMPARE(dlg->m_pieceCarried, 0);
        QCOMPARE(dlg->m_infoTip->Text(), QStringLiteral("不对哦\n再想想！"));
        QVERIFY(EndsWith(OpenedFiles().back(), "/bmusic/error1.mp3"));
        QCOMPARE(dlg->m_cuePlayer.Alias(), std::string("QuvoMedia4"));

        Carry(*dlg, 2, GridSpot(2));
        QVERIFY(EndsWith(OpenedFiles()[OpenedFiles().size() - 2], "/bmusic/right1.mp3"));
        // Piece 2's voice and the cue are both open: their aliases differ.
        QVERIFY(dlg->m_cuePlayer.IsOpen());
        QVERIFY(dlg->Piece(2)->m_player.IsOpen());
        QCOMPARE(dlg->Piece(2)->m_player.Alias(), std::string("QuvoMedia11"));

        // In the grid, pieces move freely: no cue.
        m_media->ClearSent();
        Carry(*dlg, 2, GridSpot(2) + QPoint(10, 40));
        QVERIFY(OpenedFiles().empty());
        // After piece 2, piece 1 is the one expected.
        Carry(*dlg, 1, GridSpot(1));
        QVERIFY(EndsWith(OpenedFiles().front(), "/bmusic/right1.mp3"));
    }

    void theHintFollowsThePlacedCount() {
        WriteStore("2,1,3", "0,1,2");
        WriteSettings(0, 0, 1);
        auto dlg = StartDialog();
        dlg->OnTimer(CQuvoDlg::kHintTimer);
        QCOMPARE(dlg->m_hintStroke, 2);
        dlg->repaint();
        QCOMPARE(dlg->m_hintStroke, -1);  // the paint drew it and forgot it
        dlg->OnTimer(CQuvoDlg::kHintTimer);
        QCOMPARE(dlg->m_hintStroke, 2);   // the next tick draws it again
        Carry(*dlg, 3, GridSpot(3));  // any piece counts
        dlg->OnTimer(CQuvoDlg::kHintTimer);
        QCOMPARE(dlg->m_hintStroke, 1);
        // The paint draws it and forgets it.
        dlg->repaint();
        QCOMPARE(dlg->m_hintStroke, -1);
    }

    void musicAndTheCheckExcludeEachOther() {
        WriteStore("2,1,3", "0,1,2");
        WriteSettings(1, 0);
        auto dlg = StartDialog();
        QVERIFY(dlg->m_musicPlayer.IsOpen());
        QCOMPARE(dlg->m_musicPlayer.Alias(), std::string("QuvoMedia1"));
        QVERIFY(EndsWith(dlg->m_musicPlayer.FilePath(), "/bmusic/start1.mp3"));
        QVERIFY(m_media->Sound(dlg->m_musicPlayer.DeviceId())->IsPlaying());

        qobject_cast<QAbstractButton*>(dlg->GetDlgItem(1011))->click();
        QVERIFY(dlg->IsDlgButtonChecked(1011));
        QCOMPARE(int(dlg->m_strokeCheck), 1);
        QVERIFY(!dlg->m_musicPlayer.IsOpen());
        QVERIFY(!dlg->IsDlgButtonChecked(1013));
        QCOMPARE(dlg->m_backgroundMusicOn, 0);

        Click(*dlg, SolidPoint(*dlg, 1));  // refused: the error cue is open
        QVERIFY(dlg->m_cuePlayer.IsOpen());
        qobject_cast<QAbstractButton*>(dlg->GetDlgItem(1013))->click();
        QVERIFY(dlg->m_musicPlayer.IsOpen());
        QVERIFY(!dlg->IsDlgButtonChecked(1011));
        QCOMPARE(int(dlg->m_strokeCheck), 0);
        QVERIFY(!dlg->m_cuePlayer.IsOpen());
    }

    void musicStartsAgainWhenItEnds() {
        WriteStore("2,1,3", "0,1,2");
        WriteSettings(1, 0);
        auto dlg = StartDialog();
        const std::string path = dlg->m_musicPlayer.FilePath();
        const quvo::MciDeviceId first = dlg->m_musicPlayer.DeviceId();
        QVERIFY(m_media->FinishPlaying(first));
        QCoreApplication::processEvents();
        QVERIFY(dlg->m_musicPlayer.IsOpen());
        QVERIFY(dlg->m_musicPlayer.DeviceId() != first);
        QCOMPARE(dlg->m_musicPlayer.FilePath(), path);
        QVERIFY(m_media->Sound(dlg->m_musicPlayer.DeviceId())->IsPlaying());
        QVERIFY(!m_media->Sound(dlg->m_musicPlayer.DeviceId())->LastFrom().has_value());

        // Switched off, an old notice starts nothing.
        qobject_cast<QAbstractButton*>(dlg->GetDlgItem(1013))->click();
        QCoreApplication::postEvent(dlg.get(), new quvo::MciNotifyEvent(quvo::mci::kNotifySuccessful, first));
        QCoreApplication::processEvents();
        QVERIFY(!dlg->m_musicPlayer.IsOpen());
    }

    void theDemonstrationMovesOneStrokePerTickThenAllHome() {
        WriteStore("2,1,3", "0,1,2");
        WriteSettings(0, 0);
        auto dlg = StartDialog();
        dlg->m_demoMode = 0;
        std::vector<QRect> home;
        for (int k = 1; k <= 3; ++k) {
            home.push_back(dlg->Piece(k)->geometry());
        }
        auto inGrid = [&](int k) {
            return dlg->Piece(k)->m_outline == dlg->m_largeStrokes.StrokeAt(k) &&
                   dlg->m_panels.practice.Contains(dlg->Piece(k)->x(), dlg->Piece(k)->y());
        };
        qobject_cast<QAbstractButton*>(dlg->GetDlgItem(1010))->click();
        QVERIFY(dlg->IsTimerRunning(CQuvoDlg::kDemoTimer));
        QCOMPARE(dlg->m_timers.at(CQuvoDlg::kDemoTimer)->interval(), 1000);
        dlg->OnTimer(CQuvoDlg::kDemoTimer);
        QVERIFY(inGrid(2) && !inGrid(1) && !inGrid(3));
        const quvo::Rect b = dlg->Piece(2)->m_bounds;
        QCOMPARE(dlg->Piece(2)->pos(), QPoint(266 + 8 + b.left, 8 + b.top));

        // A new speed does not change the running demonstration's period.
        dlg->m_speedSlider->setValue(3000);
        Q_EMIT dlg->m_speedSlider->released();
        QCOMPARE(dlg->m_demoSpeed, 3000);
        QCOMPARE(dlg->m_timers.at(CQuvoDlg::kDemoTimer)->interval(), 1000);

        dlg->OnTimer(CQuvoDlg::kDemoTimer);
        QVERIFY(inGrid(1) && !inGrid(3));
        dlg->OnTimer(CQuvoDlg::kDemoTimer);
        QVERIFY(inGrid(3));
        dlg->OnTimer(CQuvoDlg::kDemoTimer);
        QVERIFY(!dlg->IsTimerRunning(CQuvoDlg::kDemoTimer));
        QCOMPARE(dlg->m_demoStep, 0);
        for (int k = 1; k <= 3; ++k) {
            QCOMPARE(dlg->Piece(k)->pos(), home[k - 1].topLeft());
            QCOMPARE(dlg->Piece(k)->m_outline, dlg->m_smallStrokes.StrokeAt(k));
        }
    }

    void pressingTheDemonstrationTwiceStartsItOver() {
        WriteStore("2,1,3", "0,1,2");
        WriteSettings(0, 0);
        auto dlg = StartDialog();
        dlg->m_demoMode = 1;  // written out: each arriving piece fills itself, paced
        auto* demo = qobject_cast<QAbstractButton*>(dlg->GetDlgItem(1010));
        demo->click();
        dlg->OnTimer(CQuvoDlg::kDemoTimer);
        QVERIFY(dlg->Piece(2)->IsFilling());
        demo->click();
        QCOMPARE(dlg->m_demoStep, 0);
        for (int tick = 0; tick < 4; ++tick) {
            dlg->OnTimer(CQuvoDlg::kDemoTimer);
        }
        QVERIFY(!dlg->IsTimerRunning(CQuvoDlg::kDemoTimer));
        for (int k = 1; k <= 3; ++k) {
            QCOMPARE(dlg->Piece(k)->pos(), QPoint(dlg->Piece(k)->m_homeRect.left, dlg->Piece(k)->m_homeRect.top));
        }
    }

    void withoutAStrokeOrderTheDemonstrationMovesNothing() {
        WriteStore("", "");
        WriteSettings(0, 0);
        auto dlg = StartDialog();
        std::vector<QRect> home;
        for (int k = 1; k <= 3; ++k) {
            home.push_back(dlg->Piece(k)->geometry());
        }
        dlg->OnDemoButton();
        int ticks = 0;
        while (dlg->IsTimerRunning(CQuvoDlg::kDemoTimer) && ticks < 10) {
            dlg->OnTimer(CQuvoDlg::kDemoTimer);
            ++ticks;
        }
        QCOMPARE(ticks, 4);
        for (int k = 1; k <= 3; ++k) {
            QCOMPARE(dlg->Piece(k)->geometry(), home[k - 1]);
        }
    }

    void storeItemsNamingNoPieceAreSkipped() {
        WriteStore("2,7,3", "0,1,2");
        WriteSettings(0, 1, 1);
        auto dlg = StartDialog();
        dlg->m_demoMode = 0;
        dlg->OnDemoButton();
        for (int tick = 0; tick < 4; ++tick) {
            dlg->OnTimer(CQuvoDlg::kDemoTimer);
        }
        Carry(*dlg, 2, GridSpot(2));
        dlg->OnTimer(CQuvoDlg::kHintTimer);
        QCOMPARE(dlg->m_hintStroke, -1);
        Carry(*dlg, 1, GridSpot(1));  // the check has nothing to judge by: let through
        Carry(*dlg, 3, GridSpot(3));
        QCOMPARE(dlg->m_strokeMarks, (std::vector<std::uint8_t>{0, 1, 0}));
    }

    void wideCharactersWrapTheirPiecesIntoRows() {
        WriteStore("1,2,3", "0,1,2");
        WriteSettings(0, 0);
        auto dlg = StartDialog();
        dlg->LoadCharacter("\xEC\xE0");  // 爨, 30 strokes
        QCOMPARE(dlg->m_pieces.size(), std::size_t(30));
        int rows = 1;
        for (int k = 2; k <= 30; ++k) {
            const quvo::Rect& a = dlg->Piece(k - 1)->m_homeRect;
            const quvo::Rect& b = dlg->Piece(k)->m_homeRect;
            if (b.top != a.top) {
                ++rows;
                QCOMPARE(b.left, dlg->m_panels.pieces.left);
                QVERIFY(a.right + 10 + b.Width() > dlg->m_panels.pieces.right);
            }
            QVERIFY(b.right <= dlg->m_panels.pieces.right || b.Width() > dlg->m_panels.pieces.Width());
        }
        QVERIFY(rows >= 3);
    }
};

QTEST_MAIN(TestGame)
#include "test_game.moc"
