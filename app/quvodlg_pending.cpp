// Calls of the main dialog into parts of the program that are not in place yet. Each keeps
// its place in the dialog's sequences so the order of events stays right; each body is
// filled in when its part arrives.
#include "app/quvodlg.h"
#include "app/usermessages.h"

// The update offer from the worker.
void CQuvoDlg::OnUpdateOffer(quvo::UserMessageEvent& /*event*/) {}

