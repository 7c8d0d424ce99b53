#pragma once

namespace quvo {

// Qt's own texts in Chinese: the standard buttons of message boxes and file dialogs say 确定,
// 是, 否, 取消. Uses Debian's translations of Qt; without them the texts stay English.
// Returns true when they were found.
bool InstallQtTranslations();

}  // namespace quvo
