#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace quvo {

// Every message box of the program goes through here: a modal box with an OK button.
struct MessageBoxCall {
    QString text;
    QString caption;
    bool question = false;  // Yes and No instead of OK
};

using MessageBoxHook = std::function<int(const MessageBoxCall&)>;

// Shows the box and returns the button pressed (QMessageBox::Ok for the real box).
int ShowMessageBox(QWidget* parent, const QString& text, const QString& caption);

// A question with the information icon and the buttons Yes (the default) and No; returns
// QMessageBox::Yes or QMessageBox::No.
int AskYesNo(QWidget* parent, const QString& text, const QString& caption);

// Lets a test see each box instead of showing it, and answer it. An empty hook restores the
// real box.
void SetMessageBoxHook(MessageBoxHook hook);

}  // namespace quvo
