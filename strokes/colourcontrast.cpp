#include "strokes/colourcontrast.h"

#include <array>
#include <memory>
#include <cmath>

namespace quvo {
namespace {

using Lab = Backdrop::Lab;

// sRGB channel values made linear, worked out once: every piece of every character compares
// its colours with hundreds of picture pixels.
double Linear(int channel) {
    static const auto table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            t[static_cast<std::size_t>(i)] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return t;
    }();
    return table[static_cast<std::size_t>(channel & 0xFF)];
}

double LabCurve(double t) {
    constexpr double e = 216.0 / 24389.0, k = 24389.0 / 27.0;
    return t > e ? std::cbrt(t) : (k * t + 16.0) / 116.0;
}

// sRGB with the D65 white point.
Lab ToLab(Colour c) {
    const double r = Linear(RedOf(c)), g = Linear(GreenOf(c)), b = Linear(BlueOf(c));
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    const double fx = LabCurve(x), fy = LabCurve(y), fz = LabCurve(z);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

// ToLab through a small cache on each thread: a picture repeats its colours, and a piece
// compares against hundreds of them (three cube roots each).
Lab CachedLab(Colour c) {
    struct Slot {
        Colour colour;
        bool used;
        Lab lab;
    };
    constexpr std::size_t kSlots = 4096;
    thread_local std::unique_ptr<std::array<Slot, kSlots>> cache;
    if (!cache) {
        cache = std::make_unique<std::array<Slot, kSlots>>();
    }
    Slot& slot = (*cache)[(c ^ (c >> 12)) % kSlots];
    if (!slot.used || slot.colour != c) {
        slot = {c, true, ToLab(c)};
    }
    return slot.lab;
}

double Distance2(const Lab& p, const Lab& q) {
    return (p.l - q.l) * (p.l - q.l) + (p.a - q.a) * (p.a - q.a) + (p.b - q.b) * (p.b - q.b);
}

}  // namespace

double ColourDistance(Colour a, Colour b) { return std::sqrt(Distance2(ToLab(a), ToLab(b))); }

Backdrop::Backdrop(const std::vector<Colour>& under) {
    const std::size_t step = under.size() / kMostSamples + 1;
    m_under.reserve(under.size() / step + 1);
    for (std::size_t i = 0; i < under.size(); i += step) {
        m_under.push_back(CachedLab(under[i]));
    }
}

double Backdrop::ClearShare(Colour colour) const {
    if (m_under.empty()) {
        return 1.0;
    }
    const Lab p = ToLab(colour);
    std::size_t clear = 0;
    for (const Lab& q : m_under) {
        clear += Distance2(p, q) >= kClearDistance * kClearDistance;
    }
    return double(clear) / double(m_under.size());
}

}  // namespace quvo
