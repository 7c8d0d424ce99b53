#pragma once

#include <QCursor>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "controls/anifile.h"

class QEvent;

namespace quvo {

// A cursor frame as the window system's cursor: the picture with its hotspot.
QCursor ToCursor(const CursorFrame& frame);

// Plays animated cursors wherever they are shown. A cursor handed out by Adopt is the first
// frame of its animation; any widget given it (or another of its frames) with setCursor
// steps through the frames until its cursor is set to something else or it is destroyed.
// One animator serves the whole program: it watches every widget's cursor changes through
// an event filter on the application, so the code that sets cursors needs no part in it.
class CursorAnimator : public QObject {
    Q_OBJECT

public:
    static CursorAnimator& Instance();

    // Takes on an animation and returns its first frame's cursor; none for an animation
    // without frames or steps. An animation equal to one taken on before shares its frames,
    // so loading the same file again costs nothing.
    std::optional<QCursor> Adopt(const CursorAnimation& animation);

    // The widgets now playing an animation (for tests).
    std::size_t PlayingWidgets() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Playing {
        CursorAnimation source;
        std::vector<QCursor> frames;
        std::vector<qint64> keys;  // the frames' pixmap keys, to know them again
        std::size_t step = 0;
        QTimer timer;
        std::vector<QPointer<QWidget>> widgets;

        bool Shows(const QCursor& cursor) const;
    };

    explicit CursorAnimator(QObject* parent);
    Playing* Owner(const QCursor& cursor) const;
    void Watch(QWidget* widget);
    void Advance(Playing& playing);

    std::vector<std::unique_ptr<Playing>> m_playing;
};

}  // namespace quvo
