#include "controls/filedialog.h"

#include <QDir>
#include <QFileDialog>

namespace quvo {
namespace {

OpenFileHook& Hook() {
    static OpenFileHook hook;
    return hook;
}

}  // namespace

QString GetOpenFileName(QWidget* parent, const QString& folder, const QString& filter) {
    const QString current = QDir::currentPath();
    const QString chosen = Hook() ? Hook()(OpenFileCall{folder, filter})
                                  : QFileDialog::getOpenFileName(parent, QString(), folder, filter);
    QDir::setCurrent(current);
    return chosen;
}

void SetOpenFileHook(OpenFileHook hook) { Hook() = std::move(hook); }

}  // namespace quvo
