// The owner-drawn buttons: icon and caption placement, press offset, hover, the background
// cache, and what a character button tells its parent.
#include <QSignalSpy>
#include <QTest>

#include "app/usermessages.h"
#include "controls/buttonst.h"
#include "controls/mybutton.h"

namespace {

// A parent that records the numbered messages it receives.
class Recorder : public QWidget {
public:
    std::vector<std::pair<int, QByteArray>> messages;

protected:
    void customEvent(QEvent* event) override {
        auto* message = static_cast<quvo::UserMessageEvent*>(event);
        messages.emplace_back(message->Message(), message->text);
    }
};

QIcon SquareIcon(int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::red);
    return QIcon(pixmap);
}

}  // namespace

class TestButtonST : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void iconAndCaptionPlacement() {
        QWidget parent;
        CButtonST button(QStringLiteral("退出"), &parent);
        button.setGeometry(0, 0, 100, 40);
        button.AssignIcons(SquareIcon(16));
        QCOMPARE(button.IconSize(), QSize(16, 16));
        QCOMPARE(button.IconRect(), QRect(3, 12, 16, 16));
        QCOMPARE(button.CaptionRect(), QRect(19, 0, 81, 40));
        button.setDown(true);
        QCOMPARE(button.IconRect(), QRect(4, 13, 16, 16));
        QCOMPARE(button.CaptionRect(), QRect(20, 1, 81, 40));
        button.setDown(false);
        button.ShowCaption(false);
        QCOMPARE(button.IconRect(), QRect(42, 12, 16, 16));  // centred both ways
    }

    void iconSizeIsKeptInOneByte() {
        QWidget parent;
        CButtonST button(&parent);
        button.AssignIcons(SquareIcon(300));
        QCOMPARE(button.IconSize(), QSize(300 % 256, 300 % 256));
    }

    void activeColoursWhileHoveredOrPressed() {
        QWidget parent;
        parent.resize(200, 100);
        CButtonST button(QStringLiteral("帮助"), &parent);
        button.setGeometry(10, 10, 75, 21);
        button.SetNormalTextColor(QColor(0, 0, 250));
        button.SetActiveTextColor(QColor(255, 0, 0));
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QCOMPARE(button.TextColour(), QColor(0, 0, 250));
        QEnterEvent enter(QPointF(5, 5), QPointF(15, 15), QPointF(15, 15));
        QCoreApplication::sendEvent(&button, &enter);
        QVERIFY(button.IsHovered());
        QCOMPARE(button.TextColour(), QColor(255, 0, 0));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &leave);
        QVERIFY(!button.IsHovered());
        button.setDown(true);
        QCOMPARE(button.TextColour(), QColor(255, 0, 0));
    }

    void backgroundIsCapturedOnceAndResetOnRequest() {
        QWidget parent;
        parent.resize(200, 100);
        parent.setAutoFillBackground(true);
        parent.setStyleSheet(QStringLiteral("background: rgb(10, 200, 30)"));
        CButtonST button(QString(), &parent);
        button.setGeometry(20, 20, 50, 30);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QImage face = button.grab().toImage();
        QVERIFY(button.HasBackgroundCache());
        QCOMPARE(QColor(face.pixel(25, 15)), QColor(10, 200, 30));

        parent.setStyleSheet(QStringLiteral("background: rgb(200, 10, 30)"));
        face = button.grab().toImage();
        QCOMPARE(QColor(face.pixel(25, 15)), QColor(10, 200, 30));  // still the old capture
        button.ResetBackground(false);
        QVERIFY(!button.HasBackgroundCache());
        face = button.grab().toImage();
        QCOMPARE(QColor(face.pixel(25, 15)), QColor(200, 10, 30));
    }

    void characterButtonPostsItsCharacterOnlyWhenItHasOne() {
        Recorder parent;
        CMyButton button(2, &parent);
        button.setGeometry(0, 0, 100, 100);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY(parent.messages.empty());

        button.SetCharacter("\xB8\xDF");  // 高
        QTest::mouseClick(&button, Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(parent.messages.size(), std::size_t{1});
        QCOMPARE(parent.messages[0].first, int{quvo::kCharacterButton});
        QCOMPARE(parent.messages[0].second, QByteArray("\xB8\xDF"));

        button.SetCharacter("\xB8\xDF\xC8\xCB");  // too long for the slot: one character kept
        QCOMPARE(QByteArray(button.Character()), QByteArray("\xB8\xDF"));
    }

    void doubleClickIsTwoClicks() {
        QWidget parent;
        CButtonST button(QStringLiteral("拼"), &parent);
        button.setGeometry(0, 0, 60, 30);
        QSignalSpy clicks(&button, &QPushButton::clicked);
        // What the window system delivers for a double click: press, release, double, release.
        const QPointF at(10, 10), global = button.mapToGlobal(QPoint(10, 10));
        auto send = [&](QEvent::Type type, Qt::MouseButtons held) {
            QMouseEvent event(type, at, global, Qt::LeftButton, held, Qt::NoModifier);
            QCoreApplication::sendEvent(&button, &event);
        };
        send(QEvent::MouseButtonPress, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
        send(QEvent::MouseButtonDblClick, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
        QCOMPARE(clicks.count(), 2);
    }
};

QTEST_MAIN(TestButtonST)
#include "test_buttonst.moc"
