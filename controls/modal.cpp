#include "controls/modal.h"

#include <QDialog>

namespace quvo {
namespace {

std::function<int(QDialog&)>& Hook() {
    static std::function<int(QDialog&)> hook;
    return hook;
}

}  // namespace

int RunModal(QDialog& dialog) { return Hook() ? Hook()(dialog) : dialog.exec(); }

void SetModalHook(std::function<int(QDialog&)> hook) { Hook() = std::move(hook); }

}  // namespace quvo
