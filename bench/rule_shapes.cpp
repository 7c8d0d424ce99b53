// Searches small random shapes for each rule of the shape classifiers, run by hand:
//
//   rule_shapes [tries] [seed] [largest side] [most bands]
//
// Every shape is a few slanted bands, sometimes scaled up to a larger box or to one of the
// exact boxes some rules ask for. For each rule and each code it answers, the smallest shape
// found is printed as a table row for the classifiers' tests; rules of the source that no
// shape reached are listed at the end.
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "strokes/strokeclassify.h"
#include "tests/shapeart.h"

namespace {

using quvo::testing::Band;

struct Shape {
    int w = 0, h = 0, scaleW = 0, scaleH = 0;
    std::vector<Band> bands;
    long Area() const {
        return scaleW > 0 ? long(scaleW) * scaleH * 4 : long(w) * h;
    }
};

struct Found {
    Shape shape;
    char classifier = 0;
};

const int kBoxes[][2] = {{51, 104}, {47, 108}, {48, 87},  {166, 92},  {240, 131}, {135, 125},
                         {124, 203}, {119, 189}, {113, 193}, {121, 197}, {115, 189}, {125, 198},
                         {119, 218}};

Shape RandomShape(std::mt19937& random, int side, int most) {
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    static const int kSlopes[][2] = {{0, 1}, {0, 1}, {1, 1}, {-1, 1}, {1, 2}, {-1, 2},
                                     {2, 1}, {-2, 1}, {1, 3}, {-1, 3}, {3, 1}, {-3, 1}};
    Shape s;
    s.w = in(3, side);
    s.h = in(3, side);
    const int count = in(1, most);
    for (int i = 0; i < count; ++i) {
        const auto& slope = kSlopes[in(0, std::size(kSlopes) - 1)];
        const int top = in(0, s.h - 1);
        s.bands.push_back({top, in(top + 1, s.h), in(-s.w / 2, s.w - 1),
                           in(1, std::max(1, s.w / 3)), slope[0], slope[1]});
    }
    const int scale = in(0, 19);
    if (scale == 0) {
        const auto& box = kBoxes[in(0, std::size(kBoxes) - 1)];
        s.scaleW = box[0];
        s.scaleH = box[1];
    } else if (scale <= 2) {
        s.scaleW = in(20, 140);
        s.scaleH = in(20, 140);
    }
    return s;
}

void Print(const std::string& rule, int code, const Found& f) {
    const Shape& s = f.shape;
    std::printf("        {\"%s\", %d, '%c', {%d, %d, {", rule.c_str(), code, f.classifier, s.w,
                s.h);
    for (std::size_t i = 0; i < s.bands.size(); ++i) {
        const Band& b = s.bands[i];
        std::printf("%s{%d, %d, %d, %d, %d, %d}", i ? ", " : "", b.top, b.bottom, b.left,
                    b.width, b.num, b.den);
    }
    std::printf("}, %d, %d}},\n", s.scaleW, s.scaleH);
}

// The rule names written in the classifiers' source.
std::vector<std::string> RulesOfTheSource() {
    std::ifstream in(QUVO_SOURCE_DIR "/strokes/strokeclassify.cpp");
    std::stringstream text;
    text << in.rdbuf();
    const std::string source = text.str();
    const std::regex rule("Rule\\(\"([^\"]+)\"");
    std::vector<std::string> names;
    for (auto it = std::sregex_iterator(source.begin(), source.end(), rule);
         it != std::sregex_iterator(); ++it) {
        names.push_back((*it)[1]);
    }
    return names;
}

}  // namespace

int main(int argc, char** argv) {
    const long tries = argc > 1 ? std::atol(argv[1]) : 200000;
    std::mt19937 random(argc > 2 ? unsigned(std::atol(argv[2])) : 1u);
    const int side = argc > 3 ? std::atoi(argv[3]) : 40, most = argc > 4 ? std::atoi(argv[4]) : 5;
    std::map<std::string, std::map<int, Found>> best;
    for (long i = 0; i < tries; ++i) {
        const Shape s = RandomShape(random, side, most);
        const quvo::testing::Art art = quvo::testing::Bands(s.w, s.h, s.bands, s.scaleW, s.scaleH);
        if (art.empty()) continue;
        const quvo::StrokeIdentity id = quvo::IdentifyStrokeType(quvo::testing::RegionOf(art));
        if (id.classifier == 0) continue;
        auto& slot = best[id.rule][id.code];
        if (slot.classifier == 0 || s.Area() < slot.shape.Area() ||
            (s.Area() == slot.shape.Area() && s.bands.size() < slot.shape.bands.size())) {
            slot = {s, id.classifier};
        }
    }
    std::set<std::string> reached;
    for (const auto& [rule, codes] : best) {
        reached.insert(rule);
        for (const auto& [code, found] : codes) Print(rule, code, found);
    }
    for (const std::string& rule : RulesOfTheSource()) {
        if (!reached.count(rule)) std::printf("// not reached: %s\n", rule.c_str());
    }
    return 0;
}
