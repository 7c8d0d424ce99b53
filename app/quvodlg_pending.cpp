// Calls of the main dialog into parts of the program that are not in place yet. Each keeps
// its place in the dialog's sequences so the order of events stays right; each body is
// filled in when its part arrives.
#include "app/quvodlg.h"
#include "app/usermessages.h"

// Animated cursors are read once the cursor reader exists; until then none is loaded and
// the system cursor shows.
std::optional<QCursor> CQuvoDlg::LoadAnimatedCursor(const char* /*fileName*/) const {
    return std::nullopt;
}

// The balloon tips: its window, and the events it needs to see to pop up.
void CQuvoDlg::CreateInfoTip() {}
void CQuvoDlg::RelayToInfoTip(QObject* /*watched*/, QEvent* /*event*/) {}

// The background music's end-of-play notice; false: the event goes on as usual.
bool CQuvoDlg::RestartMusicOnNotify(QEvent* /*event*/) { return false; }
void CQuvoDlg::StartBackgroundMusic() {}
void CQuvoDlg::StopBackgroundMusic() {}

// The pinyin in the title panel.
void CQuvoDlg::DrawPinyin(QPainter& /*painter*/) {}

// The textbook page on the character buttons.
void CQuvoDlg::ShowTextbookPage() {}

// The web panel.
void CQuvoDlg::CreateWebView() {}

// Characters: the store's stroke order and types, the pinyin, the pieces' balloon tips, and
// switching to another character.
void CQuvoDlg::LookUpCharacter() {}
int CQuvoDlg::LookUpPinyin() { return 0; }
void CQuvoDlg::AttachPieceTip(CBHWnd* /*piece*/) {}
void CQuvoDlg::LoadCharacter(const char* /*character*/) {}

// The game's messages and timers.
void CQuvoDlg::OnPieceClicked(quvo::UserMessageEvent& /*event*/) {}
void CQuvoDlg::OnPieceMoving(quvo::UserMessageEvent& /*event*/) {}
void CQuvoDlg::OnPieceHovered(quvo::UserMessageEvent& /*event*/) {}
void CQuvoDlg::HintStep() {}
void CQuvoDlg::FlashStep() {}
void CQuvoDlg::DemoStep() {}

// The update offer from the worker.
void CQuvoDlg::OnUpdateOffer(quvo::UserMessageEvent& /*event*/) {}

// Full screen, and the start-up help and closing dialogs.
void CQuvoDlg::RestoreDisplayMode() {}
void CQuvoDlg::ShowStartHelp() {}
void CQuvoDlg::ShowClosingDialog() {}
