#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace quvo {

// Ends the program in good order on SIGTERM or SIGINT: the signal only writes a byte to a
// pipe, and `onSignal` runs on the GUI thread when the event loop reads it, where it may do
// anything (put the screen's mode back, save the learner's settings). One at a time; the
// handlers go when the object does.
class SignalExit : public QObject {
    Q_OBJECT

public:
    explicit SignalExit(std::function<void()> onSignal);
    ~SignalExit() override;
    bool Installed() const { return m_notifier != nullptr; }

private:
    void OnReadable();

    std::function<void()> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace quvo
