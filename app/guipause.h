#pragma once

#include <functional>

namespace quvo {

// Pauses the GUI thread: the pacing of the fill animation and the half second of the piece
// preview. Nothing else is handled meanwhile, which is the point. Tests replace the pause
// with a hook of their own so that they need not wait; an empty hook restores it.
void PauseGuiThread(int milliseconds);
void SetGuiPauseHook(std::function<void(int)> hook);

}  // namespace quvo
