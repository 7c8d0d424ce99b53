#pragma once

#include <vector>

#include "strokes/strokegeometry.h"

namespace quvo {

// How different two colours look: the distance of their CIE L*a*b* values (1976), 0 for the
// same colour, 100 between black and white.
double ColourDistance(Colour a, Colour b);

// The picture under a piece or a caption, which its colour must stand out from clearly: a
// pale cyan stroke vanishes on a sky, a lavender one on a white cloud. A colour stands out
// when it lies at least kClearDistance from 19 in 20 of the pixels under it.
class Backdrop {
public:
    static constexpr double kClearDistance = 30.0;
    static constexpr std::size_t kMostSamples = 512;

    // Large pictures are sampled evenly, at most kMostSamples pixels.
    explicit Backdrop(const std::vector<Colour>& under);

    // The share of the pixels that `colour` stands clear of, 0 to 1 (1 for no pixels).
    double ClearShare(Colour colour) const;
    bool StandsOut(Colour colour) const { return ClearShare(colour) >= 0.95; }

    // A random colour that stands out: `draw` gives colours and is asked again while its
    // colour does not stand out, at most `tries` times in all; should none do, the one that
    // stood out best.
    template <typename Draw>
    Colour StandingOut(Draw draw, int tries = 64) const;

    struct Lab {
        double l, a, b;
    };

private:
    std::vector<Lab> m_under;
};

template <typename Draw>
Colour Backdrop::StandingOut(Draw draw, int tries) const {
    Colour best = draw();
    double bestShare = ClearShare(best);
    for (int i = 1; i < tries && bestShare < 0.95; ++i) {
        const Colour next = draw();
        const double share = ClearShare(next);
        if (share > bestShare) {
            best = next;
            bestShare = share;
        }
    }
    return best;
}

}  // namespace quvo
