// How well the shape analysis agrees with the character store: every stroke of every GB2312
// character that the store gives types for is identified from its large outline (height 500,
// as after a drop), and the code is compared with the store's. Run by hand from the build
// folder:
//   bench/stroke_agreement [hz.db] [font.ttf] [stroketypes.tsv]
// It prints, per classifier and overall, the confusion of classifier code against the store's
// code, the agreement on the six basic strokes and on all strokes, the strokes without a code,
// how often each rule for one exact box size decided, per rule how many strokes it decided and
// how many of them agree (with the first stroke it decided), the time the analysis took, and
// the codes it gives the strokes of the characters that the store has no types for.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "chardata/characterstore.h"
#include "chardata/gbk.h"
#include "chardata/strokeitems.h"
#include "strokes/glyphoutline.h"
#include "strokes/glyphsource.h"
#include "strokes/outlineseg.h"
#include "strokes/polygonregion.h"
#include "strokes/strokeclassify.h"
#include "strokes/strokegeometry.h"

namespace {

constexpr int kHeight = 500;
const int kBasic[] = {0, 1, 2, 3, 5, 6};  // 横 竖 撇 点 捺 提

std::map<int, std::string> ReadNames(const std::string& file) {
    std::map<int, std::string> names;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        int code = 0;
        std::string name;
        if (fields >> code >> name)
            names[code] = name;
    }
    return names;
}

struct Tally {
    std::map<std::pair<int, int>, int> matrix;  // (store code, classifier code) -> strokes
    int strokes = 0, agree = 0, noCode = 0, basic = 0, basicAgree = 0;
    void Add(int store, int found) {
        ++matrix[{store, found}];
        ++strokes;
        agree += store == found;
        noCode += found < 0;
        for (int b : kBasic) {
            if (store == b) {
                ++basic;
                basicAgree += store == found;
            }
        }
    }
};

std::string Name(const std::map<int, std::string>& names, int code) {
    const auto it = names.find(code);
    return it == names.end() ? std::to_string(code) : std::to_string(code) + it->second;
}

double Percent(int part, int whole) {
    return whole ? 100.0 * part / whole : 0;
}

void Print(const char* title, const Tally& t, const std::map<int, std::string>& names) {
    std::printf("\n== %s: %d strokes, agree %d (%.1f%%), six basic %d/%d (%.1f%%), no code %d\n",
                title, t.strokes, t.agree, Percent(t.agree, t.strokes), t.basicAgree, t.basic,
                Percent(t.basicAgree, t.basic), t.noCode);
    // For each classifier code: how its strokes split over the store's codes.
    std::map<int, std::vector<std::pair<int, int>>> byFound;
    std::map<int, int> foundTotal;
    for (const auto& [key, n] : t.matrix) {
        byFound[key.second].push_back({n, key.first});
        foundTotal[key.second] += n;
    }
    for (auto& [found, row] : byFound) {
        std::sort(row.rbegin(), row.rend());
        std::printf("  gives %-18s %6d:", Name(names, found).c_str(), foundTotal[found]);
        for (std::size_t i = 0; i < row.size() && i < 6; ++i) {
            std::printf(" %s %d%s", Name(names, row[i].second).c_str(), row[i].first,
                        i + 1 < row.size() && i + 1 < 6 ? "," : "");
        }
        std::printf("\n");
    }
}

// The renumbering that would make the most strokes agree: classifier code -> store code, pairs
// taken greedily by their number of strokes, each code on either side used once. Codes the
// pairing leaves out keep their number.
void ProposeRenumbering(const Tally& t, const std::map<int, std::string>& names) {
    std::vector<std::pair<int, std::pair<int, int>>> pairs;  // strokes, (found, store)
    std::map<int, int> foundTotal;
    for (const auto& [key, n] : t.matrix) {
        if (key.second >= 0) {
            pairs.push_back({n, {key.second, key.first}});
            foundTotal[key.second] += n;
        }
    }
    std::sort(pairs.rbegin(), pairs.rend());
    std::map<int, int> toStore;
    std::map<int, bool> storeTaken;
    for (const auto& [n, fs] : pairs) {
        if (!toStore.count(fs.first) && !storeTaken[fs.second]) {
            toStore[fs.first] = fs.second;
            storeTaken[fs.second] = true;
        }
    }
    int agree = 0;
    for (const auto& [key, n] : t.matrix) {
        const auto it = toStore.find(key.second);
        agree += it != toStore.end() && it->second == key.first ? n : 0;
    }
    std::printf(
        "\nrenumbering that agrees best (classifier code: the store's name it mostly is):\n");
    for (const auto& [found, store] : toStore) {
        if (found == store)
            continue;
        std::printf("  %2d -> %-16s %5d of %5d\n", found, Name(names, store).c_str(),
                    t.matrix.count({store, found}) ? t.matrix.at({store, found}) : 0,
                    foundTotal[found]);
    }
    std::printf("  agreement with it: %d of %d strokes (%.1f%%)\n", agree, t.strokes,
                Percent(agree, t.strokes));
}

}  // namespace

int main(int argc, char** argv) {
    const std::string store = argc > 1 ? argv[1] : "quvo/hz.db";
    const std::string font = argc > 2 ? argv[2] : "quvo/fonts/quvokai.ttf";
    const std::string table = argc > 3 ? argv[3] : QUVO_SOURCE_DIR "/data/stroketypes.tsv";
    const auto names = ReadNames(table);
    quvo::GlyphSource glyphs(font);
    const quvo::TextMetrics metrics = glyphs.Metrics(kHeight);
    std::map<char, Tally> perClassifier;
    Tally all;
    std::map<std::string, int> fixedBoxes;
    std::vector<std::string> fixedWhere;
    struct RuleTally {
        int strokes = 0, agree = 0;
        std::string first;
    };
    std::map<std::string, RuleTally> rules;
    int characters = 0;
    std::chrono::nanoseconds spent{0};
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> untyped;  // "讠 3点 21横折弯钩"
    for (int lead = 0xA1; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            const char gbk[3] = {char(lead), char(trail), 0};
            const quvo::StoreAnswer answer = quvo::QueryCharacterStore(store, gbk);
            if (answer.status != quvo::StoreAnswer::kFound)
                continue;
            const std::string character = quvo::GbkToUtf8(gbk).value_or("?");
            const bool typed = !answer.strokeTypes.empty();
            if (glyphs.NativeOutline(std::uint16_t(lead * 256 + trail), kHeight, bytes) <= 0)
                continue;
            quvo::StrokeList list;
            list.Reset();
            const int n = quvo::WalkGlyphOutline(bytes.data(), bytes.size(), metrics.ascent, {},
                                                 list.SegmentCursor(), list.HeadCursor());
            characters += typed;
            if (!typed)
                untyped.push_back(character);
            for (int k = 1; k <= n; ++k) {
                quvo::OutlineSeg* stroke = list.StrokeAt(k);
                quvo::Rect bounds;
                quvo::GetStrokeBounds(stroke, bounds);
                const auto start = std::chrono::steady_clock::now();
                quvo::SetStrokeOffset(stroke, -bounds.left, -bounds.top);
                const quvo::PolygonRegion region(quvo::GatherStrokePoints(stroke));
                quvo::ResetStrokeOffset(stroke);
                const quvo::StrokeIdentity id =
                    quvo::IdentifyStrokeType(region, [&](const char* label) {
                        ++fixedBoxes[label];
                        fixedWhere.push_back(std::string(label) + ": stroke " + std::to_string(k) +
                                             " of " + character);
                    });
                if (!typed) {
                    untyped.back() += " " + Name(names, id.code);
                    continue;
                }
                spent += std::chrono::steady_clock::now() - start;
                const int expected = quvo::StrokeTypeAt(answer.strokeTypes, k);
                all.Add(expected, id.code);
                RuleTally& rule = rules[id.rule];
                if (rule.strokes++ == 0)
                    rule.first = character + " stroke " + std::to_string(k);
                rule.agree += expected == id.code;
                perClassifier[id.classifier ? id.classifier : '-'].Add(expected, id.code);
            }
        }
    }
    std::printf("%d characters with types, %d strokes, analysis %.2f s (%.3f ms a stroke)\n",
                characters, all.strokes, spent.count() / 1e9,
                all.strokes ? spent.count() / 1e6 / all.strokes : 0.0);
    Print("all classifiers", all, names);
    for (const auto& [c, tally] : perClassifier) {
        Print(c == '-' ? "no classifier (dispatch)" : (std::string("classifier ") + c).c_str(),
              tally, names);
    }
    ProposeRenumbering(all, names);
    std::printf("\nrules for one exact box size that decided:\n");
    for (const auto& [label, n] : fixedBoxes) std::printf("  %s: %d\n", label.c_str(), n);
    if (fixedBoxes.empty())
        std::printf("  none\n");
    for (const std::string& where : fixedWhere) std::printf("    %s\n", where.c_str());
    std::printf("\nrules: strokes decided, agreeing, the first (character, stroke)\n");
    for (const auto& [name, r] : rules) {
        std::printf("  %-22s %6d %6d  %s\n", name.c_str(), r.strokes, r.agree, r.first.c_str());
    }
    std::printf("\ncharacters the store has no types for, with the codes their strokes get:\n");
    for (const std::string& line : untyped) std::printf("  %s\n", line.c_str());
    return 0;
}
