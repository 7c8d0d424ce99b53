// The cursor reader, as the dialog loads its cursors: an animated cursor (.ani) when the file
// starts with "RIFF", else a plain cursor or icon (.cur, .ico).
#include <cstring>

#include "controls/anifile.h"
#include "fuzz/fuzzsupport.h"

using quvo::fuzz::Check;

namespace {

void CheckFrame(const quvo::CursorFrame& frame) {
    Check(frame.width >= 1 && frame.width <= quvo::kMaxCursorSide && frame.height >= 1 &&
              frame.height <= quvo::kMaxCursorSide,
          "a cursor picture has a size within the limits");
    Check(frame.pixels.size() == static_cast<std::size_t>(frame.width) * frame.height,
          "a cursor picture has one pixel for each place");
    Check(
        frame.hotX >= 0 && frame.hotX < frame.width && frame.hotY >= 0 && frame.hotY < frame.height,
        "the point that clicks lies inside the picture");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= 4 && std::memcmp(data, "RIFF", 4) == 0) {
        quvo::CursorAnimation animation;
        if (!quvo::DecodeAniFile(data, size, animation)) {
            Check(animation.frames.empty() && animation.steps.empty(),
                  "a refused file leaves the result alone");
            return 0;
        }
        Check(!animation.frames.empty() && animation.frames.size() <= quvo::kMaxCursorFrames,
              "an animation has frames, within the limit");
        Check(!animation.steps.empty() && animation.steps.size() <= quvo::kMaxCursorSteps,
              "an animation has steps, within the limit");
        for (const quvo::CursorStep& step : animation.steps) {
            Check(step.frame >= 0 && static_cast<std::size_t>(step.frame) < animation.frames.size(),
                  "every step shows a frame the animation has");
            Check(step.durationMs > 0 && step.durationMs <= 60000,
                  "every step lasts a moment, a minute at most");
        }
        for (const quvo::CursorFrame& frame : animation.frames) {
            CheckFrame(frame);
        }
        return 0;
    }
    quvo::CursorFrame frame;
    if (quvo::DecodeCursorFile(data, size, frame)) {
        CheckFrame(frame);
    }
    return 0;
}
