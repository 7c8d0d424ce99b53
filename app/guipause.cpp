#include "app/guipause.h"

#include <QThread>

namespace quvo {
namespace {

std::function<void(int)>& Hook() {
    static std::function<void(int)> hook;
    return hook;
}

}  // namespace

void PauseGuiThread(int milliseconds) {
    if (Hook()) {
        Hook()(milliseconds);
    } else if (milliseconds > 0) {
        QThread::msleep(static_cast<unsigned long>(milliseconds));
    }
}

void SetGuiPauseHook(std::function<void(int)> hook) { Hook() = std::move(hook); }

}  // namespace quvo
