#include "online/pages.h"

#include <algorithm>

#include "chardata/gbk.h"
#include "online/pagedrawing.h"
#include "online/resultstore.h"

namespace quvo {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD
constexpr int kLabelRadius = 75;                 // the numbers on a result's strokes

std::string Number(long long value) {
    return std::to_string(value);
}

std::string Element(const char* tag, const char* cssClass, std::string_view text) {
    return std::string("<") + tag + " class=\"" + cssClass + "\">" + HtmlEscape(text) + "</" + tag +
           ">";
}

std::string Card(const std::string& inner) {
    return "<div class=\"card\">" + inner + "</div>";
}

std::string Fact(std::string_view value, const char* label) {
    return "<div class=\"fact\"><b>" + HtmlEscape(value) + "</b><span>" + label + "</span></div>";
}

std::string Readings(const CharacterInfo& info) {
    std::string html = "<div class=\"chips\">";
    for (const std::string& reading : info.readings) {
        html += Element("span", "chip", reading);
    }
    return html + "</div>";
}

// Frame k of the stroke order: the strokes written before in grey, stroke k in red.
std::string StrokeFrame(const CharacterInfo& info, std::size_t k) {
    std::vector<StrokeStyle> strokes;
    for (std::size_t i = 0; i <= k && i < info.writingOrder.size(); ++i) {
        strokes.push_back({info.writingOrder[i], i == k ? "new" : "old"});
    }
    const std::string number =
        "<text x=\"40\" y=\"180\">" + Number(static_cast<long long>(k) + 1) + "</text>";
    const std::string name = k < info.strokeNames.size() ? info.strokeNames[k] : std::string();
    return "<figure>" + CharacterDrawing(44, false, strokes, number, "step") + "<figcaption>" +
           HtmlEscape(name) + "</figcaption></figure>";
}

std::string StrokeStrip(const CharacterInfo& info) {
    std::string html = "<div class=\"strip\">";
    for (std::size_t k = 0; k < info.writingOrder.size(); ++k) {
        html += StrokeFrame(info, k);
    }
    return html + "</div>";
}

std::string Places(const CharacterInfo& info) {
    if (info.places.empty()) {
        return "<p class=\"small\">课本里还没有这个字。</p>";
    }
    std::string html = "<ul>";
    for (const TextbookPlace& place : info.places) {
        html += "<li>" + HtmlEscape(PlaceText(place)) + "</li>";
    }
    return html + "</ul>";
}

std::vector<StrokeStyle> AllStrokes(const CharacterInfo& info, const char* cssClass) {
    std::vector<StrokeStyle> strokes;
    for (int c = 1; c <= static_cast<int>(info.contourPaths.size()); ++c) {
        strokes.push_back({c, cssClass});
    }
    return strokes;
}

// The writing positions of the wrong list that name a stroke, each once, in the list's order.
std::vector<int> MarkedPositions(const CharacterInfo& info, const RoundResult& result) {
    std::vector<int> positions;
    for (const int k : result.wrongPositions) {
        if (k >= 1 && k <= static_cast<int>(info.writingOrder.size()) &&
            std::find(positions.begin(), positions.end(), k) == positions.end()) {
            positions.push_back(k);
        }
    }
    return positions;
}

// The character with the misplaced strokes in red, each numbered with its right position.
std::string MarkedDrawing(const CharacterInfo& info, const std::vector<int>& positions) {
    std::vector<StrokeStyle> strokes = AllStrokes(info, "dim");
    std::string numbers = "<g class=\"num\">";
    std::vector<DrawingPoint> taken;
    for (const int k : positions) {
        const int contour = info.writingOrder[static_cast<std::size_t>(k) - 1];
        strokes.push_back({contour, "new"});
        const DrawingPoint centre =
            ContourCentre(static_cast<std::size_t>(contour) <= info.contourPaths.size()
                              ? info.contourPaths[static_cast<std::size_t>(contour) - 1]
                              : std::string());
        const DrawingPoint at = PlaceLabel(centre, kLabelRadius, taken);
        taken.push_back(at);
        numbers += "<g data-stroke=\"" + Number(contour) + "\"><circle cx=\"" + Number(at.x) +
                   "\" cy=\"" + Number(at.y) + "\" r=\"" + Number(kLabelRadius) + "\"/><text x=\"" +
                   Number(at.x) + "\" y=\"" + Number(at.y) + "\">" + Number(k) + "</text></g>";
    }
    return CharacterDrawing(150, true, strokes, numbers + "</g>", "big");
}

std::string HistoryCard(const CharacterHistory& history) {
    std::string html = "<div class=\"facts\">";
    html += Fact(Number(history.tries), "拼了几次");
    html += Fact(Number(history.right), "拼对几次");
    html += Fact(history.rightFirstTime ? "★" : "☆", "第一次就对");
    return Card(html + "</div>");
}

std::string Chips(const std::vector<std::string>& characters) {
    std::string html = "<div class=\"chips\">";
    for (const std::string& c : characters) {
        html += Element("span", "chip hz", c);
    }
    return html + "</div>";
}

// A round sun with a smile, for the friendly pages.
constexpr char kSun[] =
    "<svg class=\"centre\" width=\"70\" height=\"70\" viewBox=\"0 0 100 100\" "
    "style=\"margin:0 auto\"><g stroke=\"#ffb300\" stroke-width=\"6\" stroke-linecap=\"round\">"
    "<line x1=\"50\" y1=\"4\" x2=\"50\" y2=\"16\"/><line x1=\"50\" y1=\"84\" x2=\"50\" y2=\"96\"/>"
    "<line x1=\"4\" y1=\"50\" x2=\"16\" y2=\"50\"/><line x1=\"84\" y1=\"50\" x2=\"96\" y2=\"50\"/>"
    "<line x1=\"17\" y1=\"17\" x2=\"26\" y2=\"26\"/><line x1=\"74\" y1=\"74\" x2=\"83\" y2=\"83\"/>"
    "<line x1=\"83\" y1=\"17\" x2=\"74\" y2=\"26\"/><line x1=\"17\" y1=\"83\" x2=\"26\" y2=\"74\"/>"
    "</g><circle cx=\"50\" cy=\"50\" r=\"28\" fill=\"#ffd54f\"/>"
    "<circle cx=\"41\" cy=\"45\" r=\"4\" fill=\"#5d4037\"/>"
    "<circle cx=\"59\" cy=\"45\" r=\"4\" fill=\"#5d4037\"/>"
    "<path d=\"M38 57 Q50 68 62 57\" fill=\"none\" stroke=\"#5d4037\" stroke-width=\"4\" "
    "stroke-linecap=\"round\"/></svg>";

constexpr char kStars[] =
    "<svg width=\"150\" height=\"40\" viewBox=\"0 0 150 40\" style=\"margin:0 auto\">"
    "<g fill=\"#ffc107\" stroke=\"#ff8f00\" stroke-width=\"2\">"
    "<path d=\"M25 4l5 11 12 1-9 8 3 12-11-6-11 6 3-12-9-8 12-1z\"/>"
    "<path d=\"M75 2l6 13 14 1-11 9 4 14-13-8-13 8 4-14-11-9 14-1z\"/>"
    "<path d=\"M125 4l5 11 12 1-9 8 3 12-11-6-11 6 3-12-9-8 12-1z\"/></g></svg>";

// Groups of the record, in the order the lines come: one per textbook.
std::vector<std::pair<std::string, std::vector<const RecordLine*>>> ByBook(
    const std::vector<RecordLine>& lines) {
    std::vector<std::pair<std::string, std::vector<const RecordLine*>>> groups;
    for (const RecordLine& line : lines) {
        auto it = std::find_if(groups.begin(), groups.end(),
                               [&line](const auto& g) { return g.first == line.book; });
        if (it == groups.end()) {
            groups.emplace_back(line.book, std::vector<const RecordLine*>());
            it = groups.end() - 1;
        }
        it->second.push_back(&line);
    }
    return groups;
}

std::string RecordTable(const std::vector<const RecordLine*>& lines, int utcOffsetSeconds) {
    std::string html = "<table><tr><th>字</th><th>拼了</th><th>对了</th><th>最近一次</th></tr>";
    for (const RecordLine* line : lines) {
        html += "<tr><td class=\"hzc\">" + HtmlEscape(line->character) + "</td><td>" +
                Number(line->tries) + "</td><td>" + Number(line->right) +
                "</td><td class=\"small\">" +
                (line->lastTime > 0 ? FormatLocalTime(line->lastTime, utcOffsetSeconds) : "没有") +
                "</td></tr>";
    }
    return html + "</table>";
}

// A CSV field: spreadsheets must not take it for a formula, and quotes, commas and line ends
// keep it in one piece.
std::string CsvField(std::string_view value) {
    std::string field(value);
    if (!field.empty() && std::string_view("=+-@\t\r").find(field[0]) != std::string_view::npos) {
        field.insert(field.begin(), '\'');
    }
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        return field;
    }
    std::string quoted = "\"";
    for (const char c : field) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string BookTitle(const std::string& book) {
    return book.empty() ? "其他的字" : book;
}

std::string ControlHelp() {
    static const char* const kControls[][2] = {
        {"高 地 人 … (五个字)", "点一个字，就练这个字：左边是字样和笔画，中间是田字格。"},
        {"<| 和 |>", "翻到课本的上一页、下一页。"},
        {"选课本", "换一本课本。每本课本都记得翻到了哪一页。"},
        {"我要拼", "在格子里输入任何一个汉字，再按这个按钮。"},
        {"显示字样", "左上角显示或隐藏这个字的样子。"},
        {"显示米字框", "田字格里显示或隐藏米字线。"},
        {"显示底字", "田字格里显示或隐藏浅色的底字。"},
        {"显示拼音", "右上角显示或隐藏拼音和声调。"},
        {"拼字前演示", "换字的时候，先演示一遍笔顺，再开始拼字。"},
        {"拼字演示", "马上从第一笔开始演示笔顺。"},
        {"移动笔画 / 书写笔画", "演示时，笔画飞到格子里，或者一笔一笔写出来。"},
        {"演示速度", "拖动滑块：演示一步要多少秒（0.1 到 5 秒）。"},
        {"提示", "下一笔在格子里一闪一闪。"},
        {"逐笔检查", "拿错了笔画，马上说“不对哦，再想想！”。打开它会关掉背景音乐。"},
        {"背景音乐", "打开或关掉音乐。打开音乐会关掉逐笔检查。"},
        {"全屏 / 复原", "让程序占满整个屏幕，或者回到窗口。"},
        {"- 和 X", "最小化窗口；退出程序（设置和进度会保存）。"},
        {"帮助", "在浏览器里打开这一页。"},
    };
    std::string html = "<dl>";
    for (const auto& control : kControls) {
        html += "<dt>" + HtmlEscape(control[0]) + "</dt><dd>" + HtmlEscape(control[1]) + "</dd>";
    }
    return html + "</dl>";
}

std::string FileHelp(std::string_view programFolder) {
    std::string html = "<p>程序文件夹：</p><p class=\"small\"><code>" + HtmlEscape(programFolder) +
                       "</code></p><dl>";
    static const char* const kFiles[][2] = {
        {"quvocf.cfg", "设置：各个选项、课本、主题和音乐、演示速度。"},
        {"xxjd.cfg", "学习进度：每本课本翻到了哪一页。"},
        {kResultsFileName,
         "练习结果：每一次拼字的结果，学习记录就从这里来（SQLite 文件）。"
         "用班级服务器时，结果记在服务器上。"},
        {"book/",
         "课本：.txt 文件（GBK 编码），用空格或换行分开的每一组字是一页，"
         "一页最多五个字。放进自己的文件，就能在“选课本”里选它。"},
    };
    for (const auto& file : kFiles) {
        html += "<dt>" + HtmlEscape(file[0]) + "</dt><dd>" + HtmlEscape(file[1]) + "</dd>";
    }
    return html + "</dl>";
}

}  // namespace

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0) {
            out += kReplacement;
            ++i;
            continue;
        }
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                if (length == 1 && static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t' &&
                    c != '\r') {
                    out += kReplacement;  // control characters have no place in a page
                } else {
                    out.append(text, i, length);
                }
        }
        i += length;
    }
    return out;
}

std::string CharacterPage(const CharacterInfo& info) {
    std::string body = ContourDefinitions(info);
    body += CharacterDrawing(150, false, AllStrokes(info, "ink"), {}, "big");
    body += Readings(info);
    body += "<div class=\"facts\">" + Fact(Number(info.strokeCount), "笔画") +
            Fact(info.radical.empty() ? "?" : info.radical, "部首") + "</div>";
    body += "<h2>笔顺</h2>" + StrokeStrip(info);
    body += "<h2>在课本里</h2>" + Places(info);
    return PageDocument(info.character, body);
}

std::string ResultPage(const CharacterInfo& info, const RoundResult& result,
                       const CharacterHistory& history) {
    std::string body = ContourDefinitions(info);
    if (result.right) {
        body += kStars;
        body += "<p class=\"praise\">你真棒!</p>";
        body += CharacterDrawing(150, false, AllStrokes(info, "good"), {}, "big");
        body += "<p class=\"centre\">全拼对了，加油!</p>";
    } else {
        body += "<p class=\"kind\">再试一次!</p>";
        body += MarkedDrawing(info, MarkedPositions(info, result));
        body += "<p class=\"small centre\">红色的笔画放错了，圆圈里的数字是它应该第几笔放。</p>";
    }
    body += "<h2>" + HtmlEscape(info.character) + " 的成绩</h2>" + HistoryCard(history);
    return PageDocument(info.character, body);
}

std::string StartPage(std::string_view product, const DaySummary& today) {
    std::string body = kSun;
    body += "<h1>你好!</h1>";
    std::string card = "<h2>今天</h2>";
    if (today.rounds == 0) {
        card += "<p>今天还没有拼字。点下面的一个字，开始吧!</p>";
    } else {
        card += "<div class=\"facts\">" + Fact(Number(today.rounds), "拼了几次") +
                Fact(Number(today.right), "拼对几次") + "</div>" + Chips(today.characters);
    }
    body += Card(card);
    body += "<p class=\"centre\"><a href=\"" + std::string(kRecordPath) + "\">学习记录 →</a></p>";
    body += "<p class=\"small centre\">" + HtmlEscape(product) + "</p>";
    return PageDocument("你好", body);
}

std::string RecordPage(const std::vector<RecordLine>& lines, int utcOffsetSeconds) {
    std::string body = "<h1>学习记录</h1>";
    int tries = 0;
    std::vector<std::string> characters;
    for (const RecordLine& line : lines) {
        tries += line.tries;
        if (std::find(characters.begin(), characters.end(), line.character) == characters.end()) {
            characters.push_back(line.character);
        }
    }
    body += "<p class=\"centre\">一共练了 " + Number(static_cast<long long>(characters.size())) +
            " 个字，拼了 " + Number(tries) + " 次。</p>";
    if (lines.empty()) {
        body += Card("<p>还没有记录。拼完一个字，这里就会记下来。</p>");
    }
    for (const auto& [book, group] : ByBook(lines)) {
        body +=
            "<h2>" + HtmlEscape(BookTitle(book)) + "</h2>" + RecordTable(group, utcOffsetSeconds);
    }
    body += "<p class=\"centre\"><a href=\"" + std::string(kRecordCsvPath) +
            "\" download=\"jilu.csv\">下载表格 (CSV)</a></p>";
    return PageDocument("学习记录", body);
}

std::string RecordCsv(const std::vector<RecordLine>& lines, int utcOffsetSeconds) {
    // The byte order mark tells spreadsheet programs that the file is UTF-8.
    std::string csv = "\xEF\xBB\xBF课本,字,拼了几次,拼对几次,最近一次\r\n";
    for (const RecordLine& line : lines) {
        csv += CsvField(line.book) + "," + CsvField(line.character) + "," + Number(line.tries) +
               "," + Number(line.right) + "," +
               (line.lastTime > 0 ? FormatLocalTime(line.lastTime, utcOffsetSeconds) : "") + "\r\n";
    }
    return csv;
}

std::string HelpPage(std::string_view programFolder) {
    std::string body = "<h1>给家长的帮助</h1>";
    body += Card(
        "<p>孩子一次练一个字：看字样和拼音，看笔顺演示，再把彩色的笔画一块一块放进田字格。"
        "放下的笔画会说出自己的名字。全部放好后，程序看顺序对不对：对了会表扬，"
        "放错的笔画会闪，右边这里会标出来。</p>");
    body += "<h2>拼字游戏</h2>" +
            Card(
                "<p>点一下左边的笔画就拿起来，它跟着鼠标走；在田字格里再点一下就放下。"
                "放回左边就是拿出来。只看放的顺序，不看放在哪里。</p>");
    body += "<h2>按钮和选项</h2>" + ControlHelp();
    body += "<h2>打印练习纸</h2>" +
            Card(
                "<p>在田字格上点右键，或者按 Ctrl+P：“打印练习纸”打印现在这个字，“打印本页”打印"
                "这一页的五个字。每个字有米字格里的大字、拼音和笔画数、一笔一笔的笔顺（新的一笔是"
                "红色，下面写着笔画的名字），再是描红和自己写的田字格。打印窗口里也可以存成 PDF 文件。"
                "</p><p>老师准备一周的练习纸，可以在程序文件夹里用命令行：</p>"
                "<p class=\"small\"><code>./quvo --worksheet 高山水 -o 练习纸.pdf</code><br>"
                "<code>./quvo --book 基础篇 --pages 3-5 -o 练习纸.pdf</code></p>");
    body += "<h2>学习记录</h2>" +
            Card(
                "<p>每拼完一个字，结果就记下来。首页有今天的练习，“学习记录”里有每个字拼了几次、"
                "对了几次和最近一次的时间，也可以下载成表格。</p>");
    body += "<h2>文件在哪里</h2>" + FileHelp(programFolder);
    return PageDocument("帮助", body);
}

std::string MessagePage(std::string_view title, std::string_view text) {
    std::string body = kSun;
    body += "<h1>" + HtmlEscape(title) + "</h1>";
    body += Card("<p class=\"centre\">" + HtmlEscape(text) + "</p>");
    return PageDocument(title, body);
}

}  // namespace quvo
