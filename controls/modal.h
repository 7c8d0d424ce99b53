#pragma once

#include <functional>

class QDialog;

namespace quvo {

// The start-up help, the closing credits and the print dialog run modally through here, so that a test can see
// which dialog would have been shown and end it at once. Returns the dialog's result.
int RunModal(QDialog& dialog);

// An empty hook restores the dialog's own modal loop.
void SetModalHook(std::function<int(QDialog&)> hook);

}  // namespace quvo
