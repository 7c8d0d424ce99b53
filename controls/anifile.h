#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quvo {

// One picture of a cursor: straight (not premultiplied) 0xAARRGGBB pixels, top row first,
// and the point that clicks, inside the picture.
struct CursorFrame {
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    std::vector<std::uint32_t> pixels;

    bool operator==(const CursorFrame&) const = default;
};

// One step of an animation: the frame it shows and for how long.
struct CursorStep {
    int frame = 0;
    int durationMs = 0;

    bool operator==(const CursorStep&) const = default;
};

// A cursor's frames and the steps that play them, in order, round and round. A still cursor
// has one step.
struct CursorAnimation {
    std::vector<CursorFrame> frames;
    std::vector<CursorStep> steps;

    bool operator==(const CursorAnimation&) const = default;
};

// Anything larger is taken for a damaged file.
inline constexpr int kMaxCursorFrames = 256;
inline constexpr int kMaxCursorSteps = 256;
inline constexpr int kMaxCursorSide = 256;

// Decodes a cursor or icon file (.cur, .ico): its first image, a device-independent bitmap
// of 1, 4, 8, 24 or 32 bits followed by its AND mask. The hotspot of an icon is its centre.
// False, with out left as it was, for anything damaged or not understood (PNG images among
// them).
bool DecodeCursorFile(const std::uint8_t* data, std::size_t size, CursorFrame& out);

// Decodes an animated cursor file (.ani): a RIFF "ACON" list with its "anih" header, the
// optional "rate" (per-step times) and "seq " (per-step frames) chunks, and a LIST "fram" of
// "icon" chunks, each a whole cursor file. Times are given in jiffies of 1/60 s and turned
// into milliseconds. False, with out left as it was, for a file that is cut short, has a
// chunk running past its end, counts more frames, steps or pixels than the limits above,
// counts none, or whose sequence names a frame it lacks.
bool DecodeAniFile(const std::uint8_t* data, std::size_t size, CursorAnimation& out);

// Reads an animated cursor file, or a plain cursor file as a still cursor of one step
// lasting 0 ms.
bool LoadCursorFile(const std::string& fileName, CursorAnimation& out);

}  // namespace quvo
