#include "app/dialoglayout.h"

namespace quvo {
namespace {

// Rounds a * b / c to nearest, halves away from zero, for non-negative values.
int MulDiv(int a, int b, int c) { return (a * b + c / 2) / c; }

Rect At(int x, int y, Size size) { return Rect{x, y, x + size.width, y + size.height}; }

Size TemplateSize(int id) {
    for (const ControlTemplate& control : MainDialogTemplate()) {
        if (control.id == id) {
            return DialogUnitsToPixels(control.widthDlu, control.heightDlu);
        }
    }
    return {};
}

void LayOutTitlePanel(const Rect& t, std::map<int, Rect>& out) {
    const Size close = TemplateSize(1023), minimise = TemplateSize(1024);
    const Size label = TemplateSize(1043), edit = TemplateSize(1044);
    out[1023] = At(t.right - close.width - 4, t.top, close);
    out[1024] = At(t.right - 2 * minimise.width - 4, t.top, minimise);
    out[1043] = At(t.left + 20, t.top + 55, label);
    out[1044] = At(t.left + 20 + label.width, t.top + 50, edit);
    out[1045] = At(t.left + 20 + label.width + edit.width, t.top + 50, TemplateSize(1045));
}

void LayOutBottomPanel(const Rect& b, std::map<int, Rect>& out) {
    const Size fullScreen = TemplateSize(1046);
    out[1046] = At(b.right - fullScreen.width - 40, b.bottom - fullScreen.height - 20, fullScreen);
    out[1005] = At(b.right - 125, b.top + 20, Size{100, 100});
    out[1004] = At(b.left + 1, b.top + 20, Size{100, 100});
}

// Rows 1 to 4: command buttons and the speed slider with its labels. Returns row 5's top.
int LayOutCommandRows(const Rect& c, std::map<int, Rect>& out) {
    const int y0 = c.top;
    out[1022] = At(c.left + 4, y0, TemplateSize(1022));
    const int y1 = y0 + DialogUnitsToPixels(0, 14).height;
    const Size demo = TemplateSize(1010);
    out[1021] = At(c.left + 4, y1, TemplateSize(1021));
    out[1010] = At(c.right - demo.width - 10, y1, demo);
    const int y2 = y1 + demo.height + 5;
    const Size book = TemplateSize(1007), help = TemplateSize(1008), exit = TemplateSize(1000);
    out[1007] = At(c.left + 4, y2, book);
    out[1008] = At(c.left + help.width + 4, y2, help);
    out[1000] = At(c.left + 2 * exit.width + 4, y2, exit);
    const int y3 = y2 + exit.height;
    const Size speed = TemplateSize(1036), slow = TemplateSize(1038);
    out[1036] = At(c.left + (c.right - c.left - speed.width) / 2, y3, speed);
    out[1037] = At(c.left + 1, y3 + 25, TemplateSize(1037));
    out[1035] = At(c.left + 25, y3 + 20, TemplateSize(1035));
    out[1038] = At(c.right - slow.width - 10, y3 + 25, slow);
    return y3 + slow.height + 35;
}

// Rows 5 to 9: the demonstration mode radios and the option check boxes, two per row.
void LayOutOptionRows(const Rect& c, int y4, std::map<int, Rect>& out) {
    const Size write = TemplateSize(1042);
    out[1040] = At(c.left + 4, y4, TemplateSize(1040));
    out[1041] = At(c.left + 10, y4 + 20, TemplateSize(1041));
    out[1042] = At(c.left + write.width + 30, y4 + 20, write);
    const int rows[][2] = {{1003, 1012}, {1001, 1011}, {1002, 1009}, {1028, 1013}};
    int y = y4 + write.height + 35;
    for (const auto& row : rows) {
        const Size right = TemplateSize(row[1]);
        out[row[0]] = At(c.left + 1, y, TemplateSize(row[0]));
        out[row[1]] = At((c.left + c.right) / 2, y, right);
        y += right.height + 5;
    }
}

}  // namespace

const std::vector<ControlTemplate>& MainDialogTemplate() {
    using K = ControlKind;
    static const std::vector<ControlTemplate> controls = {
        {1000, K::Button, "退出", 50, 14},        {1001, K::CheckBox, "显示字样", 48, 10},
        {1002, K::CheckBox, "显示米字框", 56, 10}, {1003, K::CheckBox, "显示底字", 48, 10},
        {1004, K::Button, "<|", 50, 33},          {1005, K::Button, "|>", 50, 33},
        {1007, K::Button, "选课本", 50, 14},      {1008, K::Button, "帮助", 50, 14},
        {1009, K::CheckBox, "拼字前演示", 56, 10}, {1010, K::Button, "拼字演示", 50, 14},
        {1011, K::CheckBox, "逐笔检查", 48, 10},  {1012, K::CheckBox, "提示", 32, 10},
        {1013, K::CheckBox, "背景音乐", 48, 10},  {1021, K::Button, "换音乐", 52, 15},
        {1022, K::Button, "换背景", 52, 15},      {1023, K::Button, "X", 13, 14},
        {1024, K::Button, "-", 13, 14},           {1028, K::CheckBox, "显示拼音", 48, 10},
        {1035, K::Slider, "", 100, 15},           {1036, K::Label, "演示速度", 72, 8},
        {1037, K::Label, "快", 10, 8},            {1038, K::Label, "慢", 12, 8},
        {1040, K::GroupBox, "演示方式", 129, 27}, {1041, K::Radio, "移动笔画", 48, 10},
        {1042, K::Radio, "书写笔画", 48, 10},     {1043, K::Label, "我要拼", 28, 8},
        {1044, K::Edit, "", 40, 14},              {1045, K::Button, "", 27, 14},
        {1046, K::Button, "全屏", 30, 14},
    };
    return controls;
}

Size DialogUnitsToPixels(int widthDlu, int heightDlu) {
    constexpr int kBaseX = 6, kBaseY = 12;
    return Size{MulDiv(widthDlu, kBaseX, 4), MulDiv(heightDlu, kBaseY, 8)};
}

Panels ComputePanels(int w, int h) {
    Panels p;
    p.pieces = {0, h / 4, w / 4 + 10, h};
    p.title = {w - w / 5 - 10, 0, w, h / 10};
    p.bottom = {0, h - h / 4, w - w / 5 - 10, h};
    p.practice = {w / 4 + 10, 0, w - w / 5 - 10, h - h / 4};
    p.sample = {0, 0, w / 4 + 10, h / 4};
    p.control = {w - w / 5 - 10, h / 2 + 110, w, h};
    p.web = {w - w / 5 - 10, h / 10, w, h / 2 + 110};
    return p;
}

std::map<int, Rect> LayOutControls(const Panels& panels) {
    std::map<int, Rect> out;
    LayOutTitlePanel(panels.title, out);
    LayOutBottomPanel(panels.bottom, out);
    const int y4 = LayOutCommandRows(panels.control, out);
    LayOutOptionRows(panels.control, y4, out);
    return out;
}

}  // namespace quvo
