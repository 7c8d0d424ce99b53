#include "controls/animatedcursor.h"

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPixmap>

#include <algorithm>

namespace quvo {

QCursor ToCursor(const CursorFrame& frame) {
    QImage image(frame.width, frame.height, QImage::Format_ARGB32);
    for (int y = 0; y < frame.height; ++y) {
        const std::uint32_t* row = frame.pixels.data() + static_cast<std::size_t>(y) * frame.width;
        std::copy(row, row + frame.width, reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
    }
    return QCursor(QPixmap::fromImage(image), frame.hotX, frame.hotY);
}

bool CursorAnimator::Playing::Shows(const QCursor& cursor) const {
    if (cursor.shape() != Qt::BitmapCursor) {
        return false;
    }
    return std::find(keys.begin(), keys.end(), cursor.pixmap().cacheKey()) != keys.end();
}

CursorAnimator::CursorAnimator(QObject* parent) : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
}

// Made on first use as a child of the application, so it lives as long as the application.
CursorAnimator& CursorAnimator::Instance() {
    static QPointer<CursorAnimator> instance;
    if (!instance) {
        instance = new CursorAnimator(QCoreApplication::instance());
    }
    return *instance;
}

std::optional<QCursor> CursorAnimator::Adopt(const CursorAnimation& animation) {
    const auto frameKnown = [&animation](const CursorStep& s) {
        return s.frame >= 0 && static_cast<std::size_t>(s.frame) < animation.frames.size();
    };
    if (animation.frames.empty() || animation.steps.empty() ||
        !std::all_of(animation.steps.begin(), animation.steps.end(), frameKnown)) {
        return std::nullopt;
    }
    for (const auto& p : m_playing) {
        if (p->source == animation) {
            return p->frames.front();
        }
    }
    auto playing = std::make_unique<Playing>();
    playing->source = animation;
    for (const CursorFrame& frame : animation.frames) {
        playing->frames.push_back(ToCursor(frame));
        playing->keys.push_back(playing->frames.back().pixmap().cacheKey());
    }
    playing->timer.setSingleShot(true);
    Playing* raw = playing.get();
    connect(&playing->timer, &QTimer::timeout, this, [this, raw] { Advance(*raw); });
    m_playing.push_back(std::move(playing));
    return raw->frames.front();
}

std::size_t CursorAnimator::PlayingWidgets() const {
    std::size_t n = 0;
    for (const auto& p : m_playing) {
        n += static_cast<std::size_t>(
            std::count_if(p->widgets.begin(), p->widgets.end(),
                          [&p](const QPointer<QWidget>& w) { return w && p->Shows(w->cursor()); }));
    }
    return n;
}

CursorAnimator::Playing* CursorAnimator::Owner(const QCursor& cursor) const {
    for (const auto& p : m_playing) {
        if (p->Shows(cursor)) {
            return p.get();
        }
    }
    return nullptr;
}

bool CursorAnimator::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::CursorChange && watched->isWidgetType()) {
        Watch(static_cast<QWidget*>(watched));
    }
    return false;
}

// A widget that now shows one of our frames joins its animation; the animation it may have
// played before lets it go at its next step.
void CursorAnimator::Watch(QWidget* widget) {
    if (!widget->testAttribute(Qt::WA_SetCursor)) {
        return;
    }
    Playing* owner = Owner(widget->cursor());
    if (owner == nullptr) {
        return;
    }
    if (std::find(owner->widgets.begin(), owner->widgets.end(), widget) == owner->widgets.end()) {
        owner->widgets.emplace_back(widget);
    }
    if (!owner->timer.isActive() && owner->source.steps.size() > 1) {
        owner->timer.start(owner->source.steps[owner->step].durationMs);
    }
}

// Shows the next step's frame on every widget still showing this animation, and waits for
// that step's time; with no such widget left the animation rests.
void CursorAnimator::Advance(Playing& playing) {
    std::erase_if(playing.widgets, [&playing](const QPointer<QWidget>& w) {
        return !w || !w->testAttribute(Qt::WA_SetCursor) || !playing.Shows(w->cursor());
    });
    if (playing.widgets.empty()) {
        return;
    }
    playing.step = (playing.step + 1) % playing.source.steps.size();
    const CursorStep& step = playing.source.steps[playing.step];
    // A copy: each change of cursor passes through the event filters, ours among them.
    const std::vector<QPointer<QWidget>> widgets = playing.widgets;
    for (const auto& w : widgets) {
        if (w) {
            w->setCursor(playing.frames[static_cast<std::size_t>(step.frame)]);
        }
    }
    playing.timer.start(step.durationMs);
}

}  // namespace quvo
