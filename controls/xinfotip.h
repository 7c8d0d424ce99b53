#pragma once

#include <QBasicTimer>
#include <QFont>
#include <QIcon>
#include <QPoint>
#include <QPointer>
#include <QPolygon>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>
#include <QWidget>

#include <map>
#include <optional>

class QEvent;
class QPainter;

// The balloon tip of the main dialog: a frameless pop-up that never takes the focus. Windows
// registered with it (the character buttons, the stroke pieces) carry a text and an icon to
// show when the pointer rests on them. The balloon is an ellipse with a pointed tail whose tip
// sits on the point it was shown for; it hides as soon as the pointer leaves that point.
class CXInfoTip : public QWidget {
    Q_OBJECT

public:
    // Timer ids: the delay before showing, then the check whether the pointer has moved.
    static constexpr int kShowTimer = 100;
    static constexpr int kHideCheckTimer = 101;
    static constexpr int kHideCheckInterval = 500;

    struct TipEntry {
        QPointer<QWidget> window;  // to tell a live window from a destroyed one at its address
        QString text;
        QIcon icon;
    };

    // The balloon's outline in window coordinates. The window is 25 pixels taller than the
    // ellipse. Above the anchor the ellipse fills (0, 0, width, height) and the tail hangs from
    // its bottom to the tip at (tip x, height); below the anchor the ellipse moves down to
    // (0, 25) and the tail rises from its top to the tip at (tip x, 0).
    struct Balloon {
        int width = 0;
        int height = 0;
        bool tailRight = false;
        bool tailTop = false;
        QPolygon tail;  // base corner inside the ellipse's box, tip, other base corner

        QPoint TailTip() const { return tail.point(1); }
        QSize WindowSize() const;
        QRect Ellipse() const;
        // The ellipse united with the tail: what the window shows and where it is painted.
        QRegion Shape() const;
    };

    // The balloon for a text measuring `textSize`, with an icon of `iconSize` beside it when
    // there is one, shown for the screen point `anchor` and kept inside `bounds`.
    static Balloon BalloonFor(QSize textSize, std::optional<QSize> iconSize, QPoint anchor,
                              QRect bounds);
    // Top-left corner of the window on the screen, putting the tail's tip on `anchor`.
    static QPoint WindowPosition(const Balloon& balloon, QPoint anchor);
    // The window on the screen: at WindowPosition, pushed into `bounds` where it sticks out.
    static QRect WindowGeometry(const Balloon& balloon, QPoint anchor, QRect bounds);

    CXInfoTip();
    ~CXInfoTip() override;

    // Makes the pop-up, hidden, owned by `parent`.
    bool CreateTip(QWidget* parent);

    // Registers `window`, replacing what it had.
    void AttachTip(QWidget* window, const QString& text, const QIcon& icon);
    // Forgets `window`; nothing happens for one that is not registered.
    void DetachTip(QWidget* window);
    // The entry of a live registered window, or null.
    const TipEntry* FindTip(const QWidget* window) const;
    std::size_t ToolCount() const { return m_tools.size(); }

    // The icon beside the text from now on; a null icon shows none.
    void SetTipIcon(const QIcon& icon);
    // Shows `text` after the show delay, for `point` or, without one, for where the pointer
    // is now. The icon stays what it was.
    void ShowTip(const QString& text, std::optional<QPoint> point = std::nullopt);
    // Sees the dialog's events before they are delivered: resting on a registered window
    // asks for its tip, moving off it or pressing a mouse button hides the balloon.
    void ForwardMessage(QObject* watched, QEvent* event);
    // What the timer `id` does when it fires (kShowTimer or kHideCheckTimer).
    void OnTimer(int id);

    int ShowDelay() const { return m_showDelay; }
    QPoint Anchor() const { return m_anchor; }
    const QString& Text() const { return m_text; }
    int TimerId() const { return m_timerId; }
    const QIcon& TipIcon() const { return m_icon; }
    QSize IconSize() const { return {m_iconWidth, m_iconHeight}; }
    // Where a balloon for the present anchor must stay: the available part of the anchor's
    // screen and, for a point inside the shown owner window, that window.
    QRect Bounds() const;
    // The balloon for the present text, icon and anchor.
    Balloon CurrentBalloon() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void ShowBalloon();
    void CheckPointer();
    void OnMouseMove();
    const QWidget* WindowUnder(QPoint global) const;
    void StartTimer(int id, int interval);
    void KillTimer(int id);
    void PaintBalloon(QPainter& painter, const QRegion& shape) const;
    void PaintContents(QPainter& painter, const Balloon& balloon) const;

    int m_showDelay = 500;
    QPoint m_anchor;  // screen coordinates
    QString m_text;
    int m_timerId = 0;  // the last timer started
    QIcon m_icon;
    int m_iconWidth = 0;
    int m_iconHeight = 0;
    QFont m_font;
    std::map<const QWidget*, TipEntry> m_tools;
    QBasicTimer m_showTimer;
    QBasicTimer m_hideCheckTimer;
};
