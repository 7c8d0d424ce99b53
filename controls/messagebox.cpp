#include "controls/messagebox.h"

#include <QMessageBox>

namespace quvo {
namespace {

MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}

}  // namespace

int ShowMessageBox(QWidget* parent, const QString& text, const QString& caption) {
    if (Hook()) {
        return Hook()(MessageBoxCall{text, caption});
    }
    return QMessageBox::information(parent, caption, text, QMessageBox::Ok);
}

int AskYesNo(QWidget* parent, const QString& text, const QString& caption) {
    if (Hook()) {
        return Hook()(MessageBoxCall{text, caption, true});
    }
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec();
}

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

}  // namespace quvo
