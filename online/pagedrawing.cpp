#include "online/pagedrawing.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "online/pages.h"

namespace quvo {
namespace {

// The panel is about 210 pixels wide: everything is sized for that and wraps below it.
constexpr char kStyle[] = R"(
*{box-sizing:border-box}
html,body{margin:0;padding:0}
body{background:#fff8e1;color:#3e2723;padding:6px;max-width:520px;margin:0 auto;font-size:15px;line-height:1.35;
 font-family:"AR PL UKai CN","AR PL KaitiM GB",KaiTi,"Noto Sans CJK SC",sans-serif;
 overflow-wrap:anywhere;word-break:break-word}
svg{display:block;max-width:100%;height:auto}
h1{font-size:24px;margin:4px 0;text-align:center;color:#e65100}
h2{font-size:16px;margin:10px 0 4px;color:#6a1b9a}
p{margin:4px 0}
a{color:#1565c0;font-weight:bold}
.card{background:#fff;border-radius:12px;padding:6px 8px;margin:6px 0;
 box-shadow:0 1px 3px rgba(0,0,0,.18)}
.centre{text-align:center}
.big{width:150px;height:150px;margin:2px auto}
.grid rect{fill:#fff;stroke:#e53935;stroke-width:14}
.grid line{stroke:#f4a6a6;stroke-width:6;stroke-dasharray:28 22}
.ink{fill:#263238}.old{fill:#bdbdbd}.new{fill:#e53935}.good{fill:#2e7d32}.dim{fill:#90a4ae}
.num circle{fill:#fff;stroke:#e53935;stroke-width:14}
.num text{fill:#c62828;font:bold 110px sans-serif;text-anchor:middle;dominant-baseline:central}
.step text{fill:#6d4c41;font:bold 170px sans-serif}
.chips{text-align:center;margin:4px 0}
.chip{display:inline-block;background:#ffecb3;color:#d84315;border-radius:14px;
 padding:1px 10px;margin:2px;font:bold 21px sans-serif}
.hz{font-size:24px;padding:0 6px;background:#e3f2fd;color:#0d47a1}
.facts{display:flex;gap:6px;justify-content:center;margin:4px 0}
.fact{flex:1;background:#e8f5e9;border-radius:10px;text-align:center;padding:2px}
.fact b{display:block;font-size:22px;color:#1b5e20}
.fact span{font-size:12px;color:#555}
.strip{display:grid;grid-template-columns:repeat(4,minmax(0,44px));gap:6px 3px;justify-content:center}
figure{margin:0;text-align:center}
figure svg{width:100%;height:auto;max-width:44px;margin:0 auto}
figcaption{font-size:11px;line-height:1.15;color:#4e342e}
ul{margin:2px 0;padding-left:18px}
.praise{font-size:34px;color:#f57c00;text-align:center;margin:2px 0}
.kind{font-size:26px;color:#c62828;text-align:center;margin:2px 0}
.small{font-size:12px;color:#5d4037}
table{width:100%;border-collapse:collapse;font-size:13px}
th{background:#ffe0b2;font-weight:normal;font-size:12px}
td,th{padding:2px;text-align:center;border-bottom:1px solid #ffe0b2}
td.hzc{font-size:20px}
dt{font-weight:bold;color:#6a1b9a;margin-top:4px}
dd{margin:0 0 2px 8px;font-size:13px}
)";

std::string Number(long long value) {
    return std::to_string(value);
}

std::string GridLines(bool mizi) {
    const std::string b = Number(kGlyphBox);
    const std::string h = Number(kGlyphBox / 2);
    std::string svg = "<g class=\"grid\"><rect x=\"7\" y=\"7\" width=\"" + Number(kGlyphBox - 14) +
                      "\" height=\"" + Number(kGlyphBox - 14) + "\" rx=\"40\"/>";
    svg += "<line x1=\"0\" y1=\"" + h + "\" x2=\"" + b + "\" y2=\"" + h + "\"/>";
    svg += "<line x1=\"" + h + "\" y1=\"0\" x2=\"" + h + "\" y2=\"" + b + "\"/>";
    if (mizi) {
        svg += "<line x1=\"0\" y1=\"0\" x2=\"" + b + "\" y2=\"" + b + "\"/>";
        svg += "<line x1=\"" + b + "\" y1=\"0\" x2=\"0\" y2=\"" + b + "\"/>";
    }
    return svg + "</g>";
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void CivilFromDays(long long z, long long& y, unsigned& m, unsigned& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<long long>(yoe) + era * 400 + (m <= 2 ? 1 : 0);
}

std::string TwoDigits(unsigned v) {
    return (v < 10 ? "0" : "") + std::to_string(v);
}

}  // namespace

std::string PageDocument(std::string_view title, const std::string& body) {
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
        "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\"><title>";
    page += HtmlEscape(title);
    page += "</title><style>";
    page += kStyle;
    page += "</style></head><body>\n";
    page += body;
    page += "\n</body></html>\n";
    return page;
}

std::string ContourId(int contour) {
    return "c" + Number(contour);
}

std::string ContourDefinitions(const CharacterInfo& info) {
    std::string svg =
        "<svg width=\"0\" height=\"0\" style=\"position:absolute\" aria-hidden=\"true\"><defs>";
    for (std::size_t i = 0; i < info.contourPaths.size(); ++i) {
        svg += "<path id=\"" + ContourId(static_cast<int>(i) + 1) + "\" d=\"" +
               HtmlEscape(info.contourPaths[i]) + "\"/>";
    }
    return svg + "</defs></svg>";
}

std::string CharacterDrawing(int size, bool mizi, const std::vector<StrokeStyle>& strokes,
                             const std::string& extra, const char* cssClass) {
    const std::string box = Number(kGlyphBox);
    std::string svg = "<svg class=\"" + std::string(cssClass) + "\" width=\"" + Number(size) +
                      "\" height=\"" + Number(size) + "\" viewBox=\"0 0 " + box + " " + box +
                      "\" role=\"img\">";
    svg += GridLines(mizi);
    for (const StrokeStyle& s : strokes) {
        svg += "<use href=\"#" + ContourId(s.contour) + "\" class=\"" + s.cssClass + "\"/>";
    }
    return svg + extra + "</svg>";
}

DrawingPoint ContourCentre(std::string_view pathData) {
    long minX = LONG_MAX, minY = LONG_MAX, maxX = LONG_MIN, maxY = LONG_MIN;
    bool isX = true;
    std::size_t i = 0;
    while (i < pathData.size()) {
        const char c = pathData[i];
        if (c != '-' && (c < '0' || c > '9')) {
            ++i;
            continue;
        }
        const std::string number(
            pathData.substr(i, pathData.find_first_not_of("-0123456789.", i) - i));
        i += number.size();
        const long v = std::strtol(number.c_str(), nullptr, 10);
        (isX ? minX : minY) = std::min(isX ? minX : minY, v);
        (isX ? maxX : maxY) = std::max(isX ? maxX : maxY, v);
        isX = !isX;
    }
    if (minX > maxX || minY > maxY) {
        return {};
    }
    return {static_cast<int>((minX + maxX) / 2), static_cast<int>((minY + maxY) / 2)};
}

DrawingPoint PlaceLabel(DrawingPoint want, int radius, const std::vector<DrawingPoint>& taken) {
    const int step = 2 * radius;
    const int offsets[][2] = {{0, 0},        {0, -step},     {step, 0},    {0, step},    {-step, 0},
                              {step, -step}, {-step, -step}, {step, step}, {-step, step}};
    auto clamp = [radius](int v) { return std::clamp(v, radius + 5, kGlyphBox - radius - 5); };
    auto clear = [&taken, step](DrawingPoint p) {
        return std::all_of(taken.begin(), taken.end(), [&](DrawingPoint t) {
            const long dx = p.x - t.x, dy = p.y - t.y;
            return dx * dx + dy * dy >= static_cast<long>(step) * step;
        });
    };
    for (const auto& o : offsets) {
        const DrawingPoint p{clamp(want.x + o[0]), clamp(want.y + o[1])};
        if (clear(p)) {
            return p;
        }
    }
    return {clamp(want.x), clamp(want.y)};
}

std::string FormatLocalTime(std::int64_t utcSeconds, int utcOffsetSeconds) {
    const long long t = static_cast<long long>(utcSeconds) + utcOffsetSeconds;
    long long days = t / 86400;
    long long rest = t % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    long long y = 0;
    unsigned m = 0, d = 0;
    CivilFromDays(days, y, m, d);
    return std::to_string(y) + "-" + TwoDigits(m) + "-" + TwoDigits(d) + " " +
           TwoDigits(static_cast<unsigned>(rest / 3600)) + ":" +
           TwoDigits(static_cast<unsigned>(rest % 3600 / 60));
}

}  // namespace quvo
