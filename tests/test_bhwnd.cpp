// A stroke piece as a window: its shape decides which clicks it gets, it reports hovering
// and releases to its parent in the parent's coordinates, and it fills itself in.
#include <QMouseEvent>
#include <QTest>
#include <QWindow>

#include <memory>
#include <vector>

#include "app/usermessages.h"
#include "strokes/bhwnd.h"
#include "testfiles.h"

namespace {

// Stands in for the main dialog: records what reaches it.
class Host : public QWidget {
public:
    struct Message {
        int number;
        std::intptr_t wParam;
        QPoint point;
        QRect rect;
    };
    std::vector<Message> messages;
    std::vector<QPoint> presses;

protected:
    void customEvent(QEvent* event) override {
        if (event->type() <= QEvent::User || event->type() > quvo::UserEventType(quvo::kDownloadProgress)) {
            return;  // not one of the numbered messages
        }
        auto* m = static_cast<quvo::UserMessageEvent*>(event);
        messages.push_back({m->Message(), m->wParam(), m->point, m->rect});
    }
    void mousePressEvent(QMouseEvent* event) override { presses.push_back(event->position().toPoint()); }
};

}  // namespace

class TestBHWnd : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Host> m_host;
    std::unique_ptr<quvo::test::SegmentChain> m_triangle;

    // A right triangle with its right angle at the top left: the box's lower right half is
    // not part of the piece. Its edge runs along x + y = 40.
    CBHWnd* MakePiece(QPoint at, int number = 3, quvo::Colour colour = 0x3080F0) {
        auto* piece = new CBHWnd(m_host.get());
        piece->m_strokeNumber = number;
        piece->m_outline = m_triangle->Segments();
        piece->m_colour = colour;
        piece->m_bounds = {0, 0, 40, 40};
        piece->m_strokeType = 0;
        piece->Create(m_host.get(), 2000 + number, QRect(at, QSize(44, 44)));
        return piece;
    }

    void Click(QPoint p) { QTest::mouseClick(m_host->windowHandle(), Qt::LeftButton, {}, p); }
    void Move(QPoint p) { QTest::mouseMove(m_host->windowHandle(), p); }

    int Count(int number) const {
        int n = 0;
        for (const auto& m : m_host->messages) {
            n += m.number == number;
        }
        return n;
    }

private Q_SLOTS:
    void init() {
        m_host = std::make_unique<Host>();
        m_host->resize(400, 300);
        m_triangle = std::make_unique<quvo::test::SegmentChain>();
        m_triangle->Add(quvo::OutlineSeg::kLine, {{0, 0}, {40, 0}, {0, 40}});
    }

    void cleanup() {
        m_host.reset();
        m_triangle.reset();
    }

    void clickOnTheTransparentPartReachesTheWindowBelow() {
        CBHWnd* piece = MakePiece({300, 200});
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
        QCOMPARE(piece->ControlId(), 2003);
        QCOMPARE(piece->windowTitle(), QStringLiteral("bh"));

        Click({300 + 35, 200 + 35});
        QCOMPARE(m_host->presses.size(), std::size_t(1));
        QCOMPARE(Count(quvo::kPieceClicked), 0);

        Click({300 + 5, 200 + 5});
        QCOMPARE(m_host->presses.size(), std::size_t(1));
        QCOMPARE(Count(quvo::kPieceClicked), 1);
        const Host::Message& m = m_host->messages.back();
        QCOMPARE(m.wParam, std::intptr_t(3));
        QCOMPARE(m.point, QPoint(305, 205));  // the parent's coordinates
    }

    void hoverIsReportedTwoPixelsInsideAndOnlyOnce() {
        CBHWnd* piece = MakePiece({100, 50}, 5);
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
        Move({100 + 1, 50 + 10});   // inside, but the point 2 to the left is not
        Move({100 + 10, 50 + 27});  // inside, but 2 to the right crosses the edge
        QCOMPARE(Count(quvo::kPieceHovered), 0);
        QCOMPARE(piece->m_hover, 0);

        Move({100 + 10, 50 + 26});
        QCOMPARE(Count(quvo::kPieceHovered), 1);
        QCOMPARE(m_host->messages.back().wParam, std::intptr_t(5));
        QCOMPARE(m_host->messages.back().point, QPoint(110, 76));
        QCOMPARE(piece->m_hover, 1);
        Move({100 + 8, 50 + 8});
        QCOMPARE(Count(quvo::kPieceHovered), 1);

        piece->m_hover = 0;  // the dialog clears it
        Move({100 + 9, 50 + 9});
        QCOMPARE(Count(quvo::kPieceHovered), 2);
    }

    void aResizedPieceComesToTheTop() {
        CBHWnd* lower = MakePiece({10, 10}, 1);
        CBHWnd* upper = MakePiece({12, 12}, 2);
        m_host->show();
        QCOMPARE(m_host->childAt(15, 15), upper);
        lower->resize(50, 50);
        QCOMPARE(m_host->childAt(15, 15), lower);
    }

    void movingIsReportedWithTheProposedRectangle() {
        CBHWnd* piece = MakePiece({10, 10}, 4);
        piece->OnMoving(QRect(20, 30, 44, 44));
        QCOMPARE(Count(quvo::kPieceMoving), 1);
        QCOMPARE(m_host->messages.back().wParam, std::intptr_t(1));
        QCOMPARE(m_host->messages.back().rect, QRect(20, 30, 44, 44));
    }

    void withoutACursorThePieceShowsTheHand() {
        CBHWnd* piece = MakePiece({10, 10});
        QCOMPARE(piece->cursor().shape(), Qt::PointingHandCursor);
        piece->SetPieceCursor(QCursor(Qt::CrossCursor));
        QCOMPARE(piece->cursor().shape(), Qt::CrossCursor);
    }

    void fillInTheComplementOfWhiteIsBlack() {
        CBHWnd* piece = MakePiece({10, 10}, 1, quvo::MakeColour(255, 255, 255));
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
        const long pixels = piece->AnimateFill(0, 0);
        QVERIFY(pixels > 500);
        QVERIFY(pixels <= 40 * 40 / 2);
        QCOMPARE(QColor(piece->Surface().pixel(10, 10)), QColor(Qt::black));
        QCOMPARE(QColor(piece->Surface().pixel(30, 5)), QColor(Qt::black));
        QCOMPARE(piece->m_fillDelay, 0);
        piece->grab().save(QStringLiteral(QUVO_TEST_OUTPUT_DIR "/bhwnd-filled.png"));
    }

    void fillInTheOwnColourFindsTheSeedAlreadyFilled() {
        CBHWnd* piece = MakePiece({10, 10}, 1, quvo::MakeColour(0, 200, 0));
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
        QCOMPARE(piece->AnimateFill(-1, 1), 0L);
        QCOMPARE(piece->m_fillDelay, 1000);
    }

    void aStrokeTypeWithoutASeedFillsNothing() {
        CBHWnd* piece = MakePiece({10, 10}, 1, quvo::MakeColour(255, 255, 255));
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
        piece->m_strokeType = 31;
        QCOMPARE(piece->AnimateFill(0, 0), 0L);
        piece->m_strokeType = -1;
        QCOMPARE(piece->AnimateFill(0, 0), 0L);
        QCOMPARE(QColor(piece->Surface().pixel(10, 10)), QColor(Qt::white));
    }

    // A piece without a type works it out from the outline it shows once and keeps it; a shape
    // without a code is tried again at the next drop.
    void anUnknownTypeIsWorkedOutOnceFromTheShape() {
        quvo::test::SegmentChain bar, comb;
        bar.Add(quvo::OutlineSeg::kLine, {{0, 0}, {60, 0}, {60, 8}, {0, 8}});  // a 横
        // Four teeth 4 pixels apart on a spine: four runs in a row, no classifier.
        comb.Add(quvo::OutlineSeg::kLine, {{0, 0}, {2, 0}, {2, 6}, {6, 6}, {6, 0}, {8, 0}, {8, 6},
                                           {12, 6}, {12, 0}, {14, 0}, {14, 6}, {18, 6}, {18, 0},
                                           {20, 0}, {20, 9}, {0, 9}});
        CBHWnd* piece = MakePiece({10, 10}, 2, quvo::MakeColour(255, 255, 255));
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
        piece->m_strokeType = -1;
        piece->m_outline = comb.Segments();
        piece->m_bounds = {0, 0, 20, 9};
        piece->IdentifyAndSay();
        QCOMPARE(piece->m_strokeType, -1);
        QVERIFY(!piece->m_player.IsOpen());
        QCOMPARE(piece->AnimateFill(0, 0), 0L);  // nothing to start from

        piece->m_outline = bar.Segments();
        piece->m_bounds = {0, 0, 60, 8};
        piece->resize(64, 12);
        piece->ShapeToOutline();
        piece->IdentifyAndSay();
        QCOMPARE(piece->m_strokeType, 0);
        QCOMPARE(piece->AnimateFill(0, 0), 60L * 8);  // a 横 fills from its left end

        // Known now: another outline does not change it.
        piece->m_outline = m_triangle->Segments();
        piece->m_bounds = {0, 0, 40, 40};
        piece->IdentifyAndSay();
        QCOMPARE(piece->m_strokeType, 0);
    }

    void flashingRecoloursTheWholePiece() {
        CBHWnd* piece = MakePiece({10, 10});
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
        piece->FillPiece(quvo::MakeColour(200, 0, 0));
        QCOMPARE(QColor(piece->Surface().pixel(15, 15)), QColor(200, 0, 0));
        QCOMPARE(QColor(piece->Surface().pixel(1, 30)), QColor(200, 0, 0));
    }
};

QTEST_MAIN(TestBHWnd)
#include "test_bhwnd.moc"
