// The balloon tip: its outline and place inside the screen and the dialog, the show delay and the
// hide check, hover hints over registered windows, hiding on a mouse button, its icon, and what it
// looks like.
#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "controls/xinfotip.h"

namespace {

const QString kPraise = QStringLiteral("你真棒!\n全拼对了\n加油");
const QString kHint = QStringLiteral("鼠标点一下,\n就可以开始移动笔画哦");
const QRect kScreen(0, 0, 1024, 768);

QIcon BlockIcon(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::red);
    return QIcon(pixmap);
}

void Forward(CXInfoTip& tip, QWidget* target, QEvent::Type type, Qt::MouseButton button) {
    const QPointF global = QCursor::pos();
    QMouseEvent event(type, target->mapFromGlobal(global), global, button, button, Qt::NoModifier);
    tip.ForwardMessage(target, &event);
}

void MoveTo(CXInfoTip& tip, QWidget* target, QPoint local) {
    QCursor::setPos(target->mapToGlobal(local));
    Forward(tip, target, QEvent::MouseMove, Qt::NoButton);
}

QSize TextSize(const QString& text) {
    return QFontMetrics(QApplication::font()).size(Qt::TextExpandTabs, text);
}

// How many pixels of `area` differ from the `face` colour.
int InkIn(const QImage& image, const QRect& area, const QColor& face) {
    int inked = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            inked += image.pixel(x, y) != face.rgb() ? 1 : 0;
        }
    }
    return inked;
}

// A window at a known place on the screen with a registered button and an unregistered one.
struct HoverScene {
    QWidget window;
    QPushButton* registered = new QPushButton(QStringLiteral("字"), &window);
    QPushButton* other = new QPushButton(QStringLiteral("退出"), &window);
    CXInfoTip tip;

    HoverScene() {
        window.setGeometry(100, 150, 500, 300);
        registered->setGeometry(10, 100, 200, 150);
        other->setGeometry(260, 100, 200, 150);
        tip.CreateTip(&window);
        tip.AttachTip(registered, kHint, BlockIcon(32, 32));
        window.show();
    }
};

}  // namespace

class TestXInfoTip : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void balloonOpensLeftOfTheAnchorWithTailOnTheRight() {
        const auto balloon =
            CXInfoTip::BalloonFor(QSize(40, 16), std::nullopt, QPoint(500, 300), kScreen);
        QCOMPARE(balloon.width, 64);
        QCOMPARE(balloon.height, 66);
        QVERIFY(balloon.tailRight);
        QCOMPARE(balloon.tail, QPolygon({QPoint(52, 41), QPoint(52, 66), QPoint(27, 41)}));
        QCOMPARE(balloon.WindowSize(), QSize(64, 91));
        QCOMPARE(CXInfoTip::WindowPosition(balloon, QPoint(500, 300)),
                 QPoint(500 - 64 + 12, 300 - 66));
    }

    void balloonNearTheLeftEdgeHasItsTailOnTheLeft() {
        const auto balloon =
            CXInfoTip::BalloonFor(QSize(40, 16), std::nullopt, QPoint(5, 300), kScreen);
        QVERIFY(!balloon.tailRight);
        QCOMPARE(balloon.tail, QPolygon({QPoint(12, 41), QPoint(12, 66), QPoint(37, 41)}));
        QCOMPARE(CXInfoTip::WindowPosition(balloon, QPoint(5, 300)), QPoint(5 - 12, 300 - 66));
        // The tail goes right only once the anchor is past W - 12.
        QVERIFY(
            !CXInfoTip::BalloonFor(QSize(40, 16), std::nullopt, QPoint(52, 0), kScreen).tailRight);
        QVERIFY(
            CXInfoTip::BalloonFor(QSize(40, 16), std::nullopt, QPoint(53, 0), kScreen).tailRight);
    }

    void iconWidensTheBalloonAndATallOneRaisesIt() {
        const auto small =
            CXInfoTip::BalloonFor(QSize(40, 16), QSize(32, 32), QPoint(500, 400), kScreen);
        QCOMPARE(small.width, 40 + 24 + 32 + 5);
        QCOMPARE(small.height, 66);
        const auto tall =
            CXInfoTip::BalloonFor(QSize(40, 16), QSize(20, 120), QPoint(500, 400), kScreen);
        QCOMPARE(tall.width, 40 + 24 + 20 + 5);
        QCOMPARE(tall.height, 120);
        QCOMPARE(tall.TailTip(), QPoint(tall.width - 12, 120));
    }

    void shapeIsTheEllipseAndTheTail() {
        const auto balloon =
            CXInfoTip::BalloonFor(QSize(100, 40), std::nullopt, QPoint(500, 400), kScreen);
        const QRegion shape = balloon.Shape();
        QVERIFY(shape.contains(QPoint(balloon.width / 2, balloon.height / 2)));
        QVERIFY(!shape.contains(QPoint(1, 1)));  // corner of the ellipse's box
        QVERIFY(shape.contains(balloon.TailTip() + QPoint(-1, -2)));
        QVERIFY(!shape.contains(balloon.TailTip() + QPoint(2, -2)));
        QVERIFY(!shape.contains(QPoint(12, balloon.height + 10)));  // below the ellipse
    }

    // A 100 x 40 text makes a 124 x 90 balloon in a 124 x 115 window; its tail's tip can come
    // no nearer than 12 pixels to either side.
    void placementStaysInsideTheBoundsWithTheTipOnTheAnchor_data() {
        QTest::addColumn<QRect>("bounds");
        QTest::addColumn<QPoint>("anchor");
        QTest::addColumn<bool>("tailTop");
        QTest::addColumn<bool>("tailRight");
        QTest::addColumn<QPoint>("tip");  // where the tail's tip lands on the screen
        const QRect narrow(300, 0, 160, 768);
        const QRect dialog(100, 150, 500, 300);
        const auto row = [](const char* name, QRect bounds, QPoint anchor, bool top, bool right,
                            QPoint tip) {
            QTest::newRow(name) << bounds << anchor << top << right << tip;
        };
        row("middle", kScreen, {512, 384}, false, true, {512, 384});
        row("just fits above", kScreen, {512, 90}, false, true, {512, 90});
        row("a pixel too high", kScreen, {512, 89}, true, true, {512, 89});
        row("top edge", kScreen, {512, 5}, true, true, {512, 5});
        row("left margin", kScreen, {12, 384}, false, false, {12, 384});
        row("left edge", kScreen, {5, 384}, false, false, {12, 384});
        row("right margin", kScreen, {1012, 384}, false, true, {1012, 384});
        row("right edge", kScreen, {1020, 384}, false, true, {1012, 384});
        row("bottom, tail strip fits", kScreen, {512, 743}, false, true, {512, 743});
        row("bottom edge", kScreen, {512, 760}, false, true, {512, 743});
        row("near the top left", kScreen, {40, 10}, true, false, {40, 10});
        row("top left corner", kScreen, {3, 3}, true, false, {12, 3});
        row("top right corner", kScreen, {1020, 3}, true, true, {1012, 3});
        row("bottom left corner", kScreen, {3, 765}, false, false, {12, 743});
        row("bottom right corner", kScreen, {1020, 765}, false, true, {1012, 743});
        row("top of the dialog", dialog, {350, 160}, true, true, {350, 160});
        row("narrow, middle", narrow, {380, 400}, false, false, {380, 400});
        row("narrow, near its left", narrow, {305, 400}, false, false, {312, 400});
        row("narrow, near its right", narrow, {455, 400}, false, true, {448, 400});
    }

    void placementStaysInsideTheBoundsWithTheTipOnTheAnchor() {
        QFETCH(QRect, bounds);
        QFETCH(QPoint, anchor);
        QFETCH(bool, tailTop);
        QFETCH(bool, tailRight);
        QFETCH(QPoint, tip);
        const auto balloon = CXInfoTip::BalloonFor(QSize(100, 40), std::nullopt, anchor, bounds);
        QCOMPARE(balloon.tailTop, tailTop);
        QCOMPARE(balloon.tailRight, tailRight);
        const QRect window = CXInfoTip::WindowGeometry(balloon, anchor, bounds);
        QCOMPARE(window.size(), QSize(124, 115));
        QVERIFY2(bounds.contains(window), QTest::toString(window));
        QCOMPARE(window.topLeft() + balloon.TailTip(), tip);
        // Pointing up, the tail reaches the window's top above the ellipse; pointing down, the
        // bottom of the ellipse's box. It widens from its tip towards the balloon's middle.
        QCOMPARE(balloon.TailTip().y(), tailTop ? 0 : 90);
        QCOMPARE(balloon.Ellipse(), QRect(0, tailTop ? 25 : 0, 124, 90));
        const QPoint inward(tailRight ? -1 : 1, tailTop ? 4 : -4);
        QVERIFY(balloon.Shape().contains(balloon.TailTip() + inward));
        QVERIFY(QRect(QPoint(0, 0), balloon.WindowSize()).contains(balloon.Shape().boundingRect()));
    }

    void showTipWaitsForTheDelayThenHidesWhenThePointerMoves() {
        QWidget owner;
        CXInfoTip tip;
        tip.CreateTip(&owner);
        const QPoint anchor(400, 300);
        QCursor::setPos(anchor);
        tip.ShowTip(kPraise);
        QCOMPARE(tip.ShowDelay(), 500);
        QCOMPARE(tip.Anchor(), anchor);
        QCOMPARE(tip.TimerId(), CXInfoTip::kShowTimer);
        QVERIFY(!tip.isVisible());
        QTRY_VERIFY(tip.isVisible());
        QCOMPARE(tip.TimerId(), CXInfoTip::kHideCheckTimer);
        const auto balloon = tip.CurrentBalloon();
        QVERIFY(balloon.tailRight);
        QCOMPARE(tip.geometry(),
                 QRect(CXInfoTip::WindowPosition(balloon, anchor), balloon.WindowSize()));
        QCOMPARE(tip.mapFromGlobal(anchor), balloon.TailTip());
        QVERIFY(tip.mask().contains(tip.mapFromGlobal(anchor + QPoint(-1, -2))));
        QCursor::setPos(anchor + QPoint(0, 40));
        QTRY_VERIFY(!tip.isVisible());
    }

    void hideCheckKeepsTheBalloonWhileThePointerStays() {
        QWidget owner;
        CXInfoTip tip;
        tip.CreateTip(&owner);
        tip.ShowTip(kPraise, QPoint(300, 200));
        tip.OnTimer(CXInfoTip::kShowTimer);
        QCursor::setPos(300, 200);
        tip.OnTimer(CXInfoTip::kHideCheckTimer);
        QVERIFY(tip.isVisible());
        QCursor::setPos(301, 200);
        tip.OnTimer(CXInfoTip::kHideCheckTimer);
        QVERIFY(!tip.isVisible());
    }

    void showTipWithoutAPointUsesThePointerAndKeepsTheIcon() {
        CXInfoTip tip;
        tip.SetTipIcon(BlockIcon(40, 30));
        QCursor::setPos(222, 333);
        tip.ShowTip(kPraise);
        QCOMPARE(tip.Anchor(), QPoint(222, 333));
        QCOMPARE(tip.Text(), kPraise);
        QCOMPARE(tip.IconSize(), QSize(40, 30));
        tip.ShowTip(kHint, QPoint(10, 20));
        QCOMPARE(tip.Anchor(), QPoint(10, 20));
        QCOMPARE(tip.IconSize(), QSize(40, 30));
    }

    void nearTheLeftEdgeTheBalloonOpensToTheRight() {
        QWidget owner;
        CXInfoTip tip;
        tip.CreateTip(&owner);
        tip.ShowTip(kPraise, QPoint(20, 300));
        tip.OnTimer(CXInfoTip::kShowTimer);
        QVERIFY(!tip.CurrentBalloon().tailRight);
        QCOMPARE(tip.pos(), QPoint(20 - 12, 300 - tip.CurrentBalloon().height));
        QVERIFY(tip.mask().contains(tip.mapFromGlobal(QPoint(21, 298))));
        tip.ShowTip(kPraise, QPoint(600, 300));
        tip.OnTimer(CXInfoTip::kShowTimer);
        QVERIFY(tip.CurrentBalloon().tailRight);
        QCOMPARE(tip.x(), 600 - tip.width() + 12);
        QVERIFY(tip.mask().contains(tip.mapFromGlobal(QPoint(599, 298))));
    }

    // Shown right under the top of a dialog-sized window, the praise opens below the point,
    // inside the screen and the window, and a click on the point goes past it to the window.
    void nearTheTopTheBalloonOpensBelowAndClicksPassThrough() {
        QWidget dialog;
        dialog.setGeometry(0, 0, 1024, 768);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        CXInfoTip tip;
        tip.CreateTip(&dialog);
        tip.SetTipIcon(QIcon(QStringLiteral(":/icons/icon182.png")));
        const QPoint anchor(500, 5);
        tip.ShowTip(kPraise, anchor);
        tip.OnTimer(CXInfoTip::kShowTimer);
        QVERIFY(QTest::qWaitForWindowExposed(&tip));
        QVERIFY(tip.CurrentBalloon().tailTop);
        QVERIFY(tip.screen()->availableGeometry().contains(tip.geometry()));
        QVERIFY(dialog.frameGeometry().contains(tip.geometry()));
        QCOMPARE(tip.mapFromGlobal(anchor), tip.CurrentBalloon().TailTip());
        QVERIFY(tip.windowFlags().testFlag(Qt::WindowTransparentForInput));
        QVERIFY(tip.windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));

        const QImage image = tip.grab().toImage();
        QVERIFY(image.save(QStringLiteral(QUVO_TEST_OUTPUT_DIR "/xinfotip-below.png")));
        const QPalette& colours = tip.palette();
        // The ellipse's frame starts 25 pixels down; the tail above it is filled like the face.
        const int middle = tip.width() / 2;
        QCOMPARE(image.pixelColor(middle, 25).rgb(), colours.color(QPalette::WindowText).rgb());
        QCOMPARE(image.pixelColor(middle, 27).rgb(), colours.color(QPalette::Mid).rgb());
        const QPoint inTail =
            tip.CurrentBalloon().TailTip() + QPoint(tip.CurrentBalloon().tailRight ? -10 : 10, 40);
        QCOMPARE(image.pixelColor(inTail).rgb(), colours.color(QPalette::Base).rgb());
        // Icon and text moved down with the ellipse.
        const QImage icon = tip.TipIcon().pixmap(32, 32).toImage();
        QCOMPARE(image.pixelColor(12 + 16, 50 + 16).rgb(), icon.pixelColor(16, 16).rgb());
        QVERIFY(InkIn(image, QRect(QPoint(12 + 32 + 5, 50), TextSize(kPraise)),
                      colours.color(QPalette::Base)) > 100);
    }

    void anyMouseButtonHidesAtOnce() {
        QWidget owner;
        CXInfoTip tip;
        tip.CreateTip(&owner);
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            tip.ShowTip(kPraise, QPoint(300, 300));
            tip.OnTimer(CXInfoTip::kShowTimer);
            Forward(tip, &owner, QEvent::MouseButtonRelease, button);
            QVERIFY(tip.isVisible());
            Forward(tip, &owner, QEvent::MouseButtonPress, button);
            QVERIFY2(!tip.isVisible(), QTest::toString(button));
        }
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
        tip.OnTimer(CXInfoTip::kShowTimer);
        tip.ForwardMessage(&owner, &key);
        QVERIFY(tip.isVisible());
    }

    void restingOnARegisteredWindowShowsItsTip() {
        HoverScene scene;
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        CXInfoTip& tip = scene.tip;
        MoveTo(tip, scene.registered, QPoint(100, 20));
        const QPoint first = scene.registered->mapToGlobal(QPoint(100, 20));
        QCOMPARE(tip.Text(), kHint);
        QCOMPARE(tip.Anchor(), first);
        QCOMPARE(tip.IconSize(), QSize(32, 32));
        QCOMPARE(tip.TimerId(), CXInfoTip::kShowTimer);
        QVERIFY(!tip.isVisible());
        tip.OnTimer(CXInfoTip::kShowTimer);
        QVERIFY(tip.isVisible());
        QCOMPARE(tip.mapFromGlobal(first), tip.CurrentBalloon().TailTip());
        // Just below the tail the pointer is on the button again, not on the balloon.
        MoveTo(tip, scene.registered, QPoint(100, 23));
        QVERIFY(tip.isVisible());
        QCOMPARE(tip.Anchor(), first + QPoint(0, 3));
        tip.OnTimer(CXInfoTip::kShowTimer);
        QCOMPARE(tip.mapFromGlobal(first + QPoint(0, 3)), tip.CurrentBalloon().TailTip());
        MoveTo(tip, scene.other, QPoint(50, 50));
        QVERIFY(!tip.isVisible());
        QCOMPARE(tip.Anchor(), first + QPoint(0, 3));
    }

    void hoverRealTimerShowsTheHint() {
        HoverScene scene;
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        MoveTo(scene.tip, scene.registered, QPoint(30, 30));
        QTRY_VERIFY(scene.tip.isVisible());
        QCOMPARE(scene.tip.Text(), kHint);
    }

    void movingOntoTheBalloonItselfHidesIt() {
        HoverScene scene;
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        CXInfoTip& tip = scene.tip;
        MoveTo(tip, scene.registered, QPoint(150, 140));
        tip.OnTimer(CXInfoTip::kShowTimer);
        QVERIFY(tip.isVisible());
        const QPoint middle(tip.CurrentBalloon().TailTip().x(), tip.CurrentBalloon().height / 2);
        QVERIFY(scene.registered->rect().contains(
            scene.registered->mapFromGlobal(tip.mapToGlobal(middle))));
        QCursor::setPos(tip.mapToGlobal(middle));
        Forward(tip, &tip, QEvent::MouseMove, Qt::NoButton);
        QVERIFY(!tip.isVisible());
    }

    void gameFeedbackKeepsTheIconOfTheLastHint() {
        HoverScene scene;
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        CXInfoTip& tip = scene.tip;
        tip.ShowTip(kPraise, QPoint(300, 300));
        QVERIFY(tip.TipIcon().isNull());
        QCOMPARE(tip.IconSize(), QSize(0, 0));
        tip.OnTimer(CXInfoTip::kShowTimer);
        QCOMPARE(tip.width(), TextSize(kPraise).width() + 24);
        MoveTo(tip, scene.registered, QPoint(20, 20));
        tip.ShowTip(kPraise, QPoint(300, 300));
        QVERIFY(!tip.TipIcon().isNull());
        QCOMPARE(tip.IconSize(), QSize(32, 32));
        tip.OnTimer(CXInfoTip::kShowTimer);
        QCOMPARE(tip.Text(), kPraise);
        QCOMPARE(tip.width(), TextSize(kPraise).width() + 24 + 32 + 5);
    }

    void oneLineIsFiftyPixelsShorterThanTheBalloonUnlessTheIconIsTaller() {
        QWidget owner;
        CXInfoTip tip;
        tip.CreateTip(&owner);
        const QString line = QStringLiteral("加油");
        tip.ShowTip(line, QPoint(400, 400));
        tip.OnTimer(CXInfoTip::kShowTimer);
        QVERIFY(TextSize(line).height() > 0);
        QCOMPARE(tip.height() - 25, TextSize(line).height() + 50);
        tip.SetTipIcon(BlockIcon(40, 200));
        tip.ShowTip(line, QPoint(400, 400));
        tip.OnTimer(CXInfoTip::kShowTimer);
        QCOMPARE(tip.height(), 200 + 25);
        QCOMPARE(tip.width(), TextSize(line).width() + 24 + 40 + 5);
    }

    void iconSizeIsTheLargestPictureKeptInOneByte() {
        CXInfoTip tip;
        QIcon icon = BlockIcon(16, 16);
        icon.addPixmap(BlockIcon(48, 40).pixmap(48, 40));
        tip.SetTipIcon(icon);
        QCOMPARE(tip.IconSize(), QSize(48, 40));
        tip.SetTipIcon(BlockIcon(300, 260));
        QCOMPARE(tip.IconSize(), QSize(300 % 256, 260 % 256));
        tip.SetTipIcon(QIcon(QStringLiteral(":/icons/icon182.png")));
        QCOMPARE(tip.IconSize(), QSize(32, 32));
        tip.SetTipIcon(QIcon());
        QCOMPARE(tip.IconSize(), QSize(0, 0));
    }

    void aDestroyedWindowIsNeverFound() {
        HoverScene scene;
        auto* gone = new QPushButton(&scene.window);
        gone->setGeometry(300, 10, 100, 50);
        scene.tip.AttachTip(gone, QStringLiteral("走了"), QIcon());
        QVERIFY(scene.tip.FindTip(gone) != nullptr);
        const QWidget* address = gone;
        delete gone;
        QVERIFY(scene.tip.FindTip(address) == nullptr);
        QCOMPARE(scene.tip.ToolCount(), std::size_t{2});
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        MoveTo(scene.tip, &scene.window, QPoint(320, 20));
        QCOMPARE(scene.tip.TimerId(), 0);
        QVERIFY(scene.tip.Text().isEmpty());
    }

    void attachReplacesAndDetachForgets() {
        CXInfoTip tip;
        QWidget window;
        tip.AttachTip(&window, QStringLiteral("一"), QIcon());
        tip.AttachTip(&window, QStringLiteral("二"), QIcon());
        QCOMPARE(tip.ToolCount(), std::size_t{1});
        QCOMPARE(tip.FindTip(&window)->text, QStringLiteral("二"));
        tip.DetachTip(&window);
        tip.DetachTip(&window);
        QVERIFY(tip.FindTip(&window) == nullptr);
        QCOMPARE(tip.ToolCount(), std::size_t{0});
    }

    void balloonIsPaintedWithFrameTextAndIcon() {
        QWidget owner;
        CXInfoTip tip;
        tip.CreateTip(&owner);
        tip.SetTipIcon(QIcon(QStringLiteral(":/icons/icon182.png")));
        tip.ShowTip(kPraise, QPoint(400, 300));
        tip.OnTimer(CXInfoTip::kShowTimer);
        QVERIFY(QTest::qWaitForWindowExposed(&tip));
        const QImage image = tip.grab().toImage();
        QVERIFY(image.save(QStringLiteral(QUVO_TEST_OUTPUT_DIR "/xinfotip.png")));
        const QPalette& colours = tip.palette();
        const int middle = tip.width() / 2;
        QCOMPARE(image.pixelColor(middle, 0).rgb(), colours.color(QPalette::WindowText).rgb());
        QCOMPARE(image.pixelColor(middle, 2).rgb(), colours.color(QPalette::Mid).rgb());
        QCOMPARE(image.pixelColor(middle, 5).rgb(), colours.color(QPalette::Base).rgb());
        // The icon's picture at (12, 25); the text right of it.
        const QImage icon = tip.TipIcon().pixmap(32, 32).toImage();
        QCOMPARE(image.pixelColor(12 + 16, 25 + 16).rgb(), icon.pixelColor(16, 16).rgb());
        QVERIFY(InkIn(image, QRect(QPoint(12 + 32 + 5, 25), TextSize(kPraise)),
                      colours.color(QPalette::Base)) > 100);
    }
};

QTEST_MAIN(TestXInfoTip)
#include "test_xinfotip.moc"
