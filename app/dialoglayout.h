#pragma once

#include <map>
#include <string_view>
#include <vector>

namespace quvo {

// Geometry of the main dialog's 1024 x 768 canvas, free of any window system so that every
// position can be checked in pixels.

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // The window system's point-in-rectangle: left and top edges in, right and bottom out.
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const Rect&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

struct Panels {
    Rect pieces;
    Rect title;
    Rect bottom;
    Rect practice;
    Rect sample;
    Rect control;
    Rect web;
};

enum class ControlKind { Button, CheckBox, Radio, Slider, Label, GroupBox, Edit };

// One control of the main dialog's template: id, kind, caption (UTF-8) and size in dialog
// units of the template font.
struct ControlTemplate {
    int id;
    ControlKind kind;
    std::string_view caption;
    int widthDlu;
    int heightDlu;
};

const std::vector<ControlTemplate>& MainDialogTemplate();

// Dialog units of the template font (9-point SimSun at 96 DPI: base units 6 x 12 pixels) to
// pixels, rounded to nearest as the platform's MulDiv rounds: 50 x 14 units are 75 x 21.
Size DialogUnitsToPixels(int widthDlu, int heightDlu);

// The seven panels for a client area of width x height (always 1024 x 768 in practice).
Panels ComputePanels(int width, int height);

// Where every template control goes: its rectangle in dialog client coordinates.
std::map<int, Rect> LayOutControls(const Panels& panels);

}  // namespace quvo
