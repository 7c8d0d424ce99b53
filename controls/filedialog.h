#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace quvo {

// The open-file dialog of the theme and music choices: a file that must exist, starting in
// `folder`, offering `filter`. Returns the chosen path, empty when cancelled. The process's
// current directory stays as it was, since the program opens files relative to it.
struct OpenFileCall {
    QString folder;
    QString filter;
};
using OpenFileHook = std::function<QString(const OpenFileCall&)>;

QString GetOpenFileName(QWidget* parent, const QString& folder, const QString& filter);

// Lets a test answer the dialog; an empty hook restores the real one.
void SetOpenFileHook(OpenFileHook hook);

}  // namespace quvo
