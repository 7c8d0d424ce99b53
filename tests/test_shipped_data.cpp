// Checks the data files of the staged program folder the way the program
// reads them: the stroke font through FreeType, the character store through
// SQLite, the textbooks and the pinyin table as GBK bytes.
//
// QUVO_PROGRAM_DIR and QUVO_PINYIN_TABLE are set by tools/data.cmake.

#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BBOX_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <iconv.h>
#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kProgramDir = QUVO_PROGRAM_DIR;
const fs::path kPinyinTable = QUVO_PINYIN_TABLE;
const fs::path kDataSources = QUVO_DATA_SOURCE_DIR;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// One iconv conversion; nullopt when the input is not valid in the source code.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    std::optional<std::string> operator()(std::string_view in) const {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out(in.size() * 4 + 8, '\0');
        char* src = const_cast<char*>(in.data());
        size_t src_left = in.size();
        char* dst = out.data();
        size_t dst_left = out.size();
        if (iconv(cd_, &src, &src_left, &dst, &dst_left) == static_cast<size_t>(-1))
            return std::nullopt;
        if (iconv(cd_, nullptr, nullptr, &dst, &dst_left) == static_cast<size_t>(-1))
            return std::nullopt;
        out.resize(out.size() - dst_left);
        return out;
    }

private:
    iconv_t cd_;
};

// The code point of a text that holds exactly one UTF-8 character.
std::optional<char32_t> SingleCodePoint(std::string_view s) {
    if (s.empty()) return std::nullopt;
    const auto b0 = static_cast<unsigned char>(s[0]);
    size_t len = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : (b0 >> 3) == 30 ? 4 : 0;
    if (len == 0 || s.size() != len) return std::nullopt;
    char32_t cp = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
    for (size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (b & 0x3F);
    }
    return cp;
}

std::vector<std::string> SplitCommas(const std::string& text) {
    std::vector<std::string> items;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        items.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return items;
}

std::optional<int> ParseNumber(const std::string& item) {
    if (item.empty() || item.size() > 3) return std::nullopt;
    int v = 0;
    for (char c : item) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

// White space as the C library's "%s" scan sees it.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::vector<std::string> Tokens(const std::string& text) {
    std::vector<std::string> tokens;
    std::string cur;
    for (char c : text) {
        if (IsSpace(c)) {
            if (!cur.empty()) tokens.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) tokens.push_back(cur);
    return tokens;
}

struct StoreRow {
    std::string hanzi;
    std::string bishun;
    std::string bihuamc;
};

// Everything the checks share, loaded once.
class ShippedData : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(FT_Init_FreeType(&library_), 0);
        const fs::path font = kProgramDir / "fonts" / "quvokai.ttf";
        ASSERT_EQ(FT_New_Face(library_, font.c_str(), 0, &face_), 0) << font;

        sqlite3* db = nullptr;
        const fs::path store = kProgramDir / "hz.db";
        ASSERT_EQ(sqlite3_open_v2(store.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        sqlite3_stmt* st = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT hanzi, bishun, bihuamc FROM bishun", -1, &st,
                                     nullptr),
                  SQLITE_OK)
            << sqlite3_errmsg(db);
        auto text = [st](int col) {
            const auto* p = sqlite3_column_text(st, col);
            return p ? std::string(reinterpret_cast<const char*>(p)) : std::string();
        };
        rows_ = new std::vector<StoreRow>;
        while (sqlite3_step(st) == SQLITE_ROW) rows_->push_back({text(0), text(1), text(2)});
        sqlite3_finalize(st);
        sqlite3_close(db);

        const std::string table = ReadFile(kPinyinTable);
        readings_ = new std::set<std::string>;
        for (size_t start = 0; start < table.size();) {
            size_t lf = table.find('\n', start);
            if (lf == std::string::npos) break;
            const std::string line = table.substr(start, lf - start);
            readings_->insert(line.substr(0, line.find(',')));
            start = lf + 1;
        }
    }

    static void TearDownTestSuite() {
        if (face_) FT_Done_Face(face_);
        if (library_) FT_Done_FreeType(library_);
        face_ = nullptr;
        library_ = nullptr;
        delete rows_;
        rows_ = nullptr;
        delete readings_;
        readings_ = nullptr;
    }

    static const StoreRow* Row(const std::string& utf8) {
        for (const auto& r : *rows_)
            if (r.hanzi == utf8) return &r;
        return nullptr;
    }

    static FT_Library library_;
    static FT_Face face_;
    static std::vector<StoreRow>* rows_;
    static std::set<std::string>* readings_;  // GBK bytes of field 1 of the pinyin table
};

FT_Library ShippedData::library_ = nullptr;
FT_Face ShippedData::face_ = nullptr;
std::vector<StoreRow>* ShippedData::rows_ = nullptr;
std::set<std::string>* ShippedData::readings_ = nullptr;

// Area of a contour's point polygon: negative when it runs clockwise (y up).
double SignedArea(const FT_Vector* pts, int n) {
    double a = 0;
    for (int i = 0; i < n; ++i) {
        const FT_Vector& p = pts[i];
        const FT_Vector& q = pts[(i + 1) % n];
        a += static_cast<double>(p.x) * q.y - static_cast<double>(q.x) * p.y;
    }
    return a / 2;
}

// Exact box of contour k of an outline (curves included).
FT_BBox ContourBox(const FT_Outline& outline, int k) {
    const int first = k == 0 ? 0 : outline.contours[k - 1] + 1;
    const int last = outline.contours[k];
    short end = static_cast<short>(last - first);
    FT_Outline one{};
    one.n_contours = 1;
    one.n_points = static_cast<short>(last - first + 1);
    one.points = outline.points + first;
    one.tags = outline.tags + first;
    one.contours = &end;
    FT_BBox box{};
    FT_Outline_Get_BBox(&one, &box);
    return box;
}

std::string NameString(FT_Face face, FT_UShort name_id) {
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    for (FT_UInt i = 0; i < count; ++i) {
        FT_SfntName name;
        if (FT_Get_Sfnt_Name(face, i, &name) != 0) continue;
        if (name.name_id != name_id || name.platform_id != TT_PLATFORM_MICROSOFT) continue;
        std::string ascii;  // UTF-16BE; the checks below look at ASCII text only
        for (FT_UInt j = 1; j < name.string_len; j += 2)
            ascii += name.string[j - 1] == 0 ? static_cast<char>(name.string[j]) : '?';
        return ascii;
    }
    return {};
}

// ------------------------------------------------------------------ the font

TEST_F(ShippedData, FontIsOurOwnTrueTypeWithTheSourceMetrics) {
    EXPECT_STREQ(face_->family_name, "Quvo Kai");
    EXPECT_TRUE(FT_IS_SFNT(face_));
    FT_ULong length = 0;
    EXPECT_EQ(FT_Load_Sfnt_Table(face_, TTAG_glyf, 0, nullptr, &length), 0) << "no glyf table";
    EXPECT_GT(length, 0u);
    EXPECT_EQ(face_->units_per_EM, 1024);
    EXPECT_EQ(face_->ascender, 900);
    EXPECT_EQ(face_->descender, -124);
    const auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    ASSERT_NE(os2, nullptr);
    EXPECT_EQ(os2->usWinAscent, 900);
    EXPECT_EQ(os2->usWinDescent, 124);

    // The Arphic Public License asks for its text beside the font and for a
    // notice of how and when the font was changed.
    const std::string license = ReadFile(kProgramDir / "fonts" / "ARPHICPL.TXT");
    EXPECT_EQ(license.rfind("ARPHIC PUBLIC LICENSE", 0), 0u);
    EXPECT_NE(NameString(face_, TT_NAME_ID_COPYRIGHT).find("Arphic"), std::string::npos);
    const std::string notice = NameString(face_, TT_NAME_ID_DESCRIPTION);
    EXPECT_NE(notice.find("Modified in"), std::string::npos) << notice;
}

TEST_F(ShippedData, FontAndStoreCoverEveryGb2312Hanzi) {
    Converter gb2312("UTF-8", "GB2312");
    ASSERT_TRUE(gb2312.ok());
    std::set<std::string> stored;
    for (const auto& r : *rows_) stored.insert(r.hanzi);
    int hanzi = 0;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            const auto utf8 = gb2312(std::string_view(pair, 2));
            if (!utf8) continue;  // the unused cells at the end of row 55
            ++hanzi;
            const auto cp = SingleCodePoint(*utf8);
            ASSERT_TRUE(cp);
            EXPECT_NE(FT_Get_Char_Index(face_, *cp), 0u) << *utf8;
            EXPECT_TRUE(stored.count(*utf8)) << *utf8;
        }
    }
    EXPECT_EQ(hanzi, 6763);
    EXPECT_GT(rows_->size(), 9000u) << "further GBK hanzi of the source are covered too";
}

// ----------------------------------------------------------------- the store

// True for a character (UTF-8) of GB2312.
bool IsGb2312(const std::string& utf8) {
    Converter toGb2312("GB2312", "UTF-8");
    const auto out = toGb2312(utf8);
    return out && out->size() == 2;
}



TEST_F(ShippedData, EveryStoreRowMatchesItsGlyph) {
    ASSERT_FALSE(rows_->empty());
    std::set<std::string> seen;
    size_t typed = 0, untypedGb2312 = 0;
    for (const auto& row : *rows_) {
        SCOPED_TRACE(row.hanzi);
        EXPECT_TRUE(seen.insert(row.hanzi).second) << "duplicate row";
        const auto cp = SingleCodePoint(row.hanzi);
        ASSERT_TRUE(cp) << "hanzi is not one UTF-8 character";
        const FT_UInt index = FT_Get_Char_Index(face_, *cp);
        ASSERT_NE(index, 0u) << "no glyph";
        ASSERT_EQ(FT_Load_Glyph(face_, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING), 0);
        const FT_Outline& outline = face_->glyph->outline;
        const int n = outline.n_contours;
        ASSERT_GT(n, 0);

        // bishun: item k = contour number of the stroke written k-th.
        const auto order = SplitCommas(row.bishun);
        ASSERT_EQ(static_cast<int>(order.size()), n) << "bishun " << row.bishun;
        std::vector<bool> used(n + 1, false);
        for (const auto& item : order) {
            const auto v = ParseNumber(item);
            ASSERT_TRUE(v) << "bishun " << row.bishun;
            ASSERT_GE(*v, 1);
            ASSERT_LE(*v, n);
            EXPECT_FALSE(used[*v]) << "bishun " << row.bishun << " repeats " << *v;
            used[*v] = true;
        }

        // bihuamc: empty, or item k = type code of contour k.
        if (row.bihuamc.empty() && IsGb2312(row.hanzi)) ++untypedGb2312;
        if (!row.bihuamc.empty()) {
            ++typed;
            const auto types = SplitCommas(row.bihuamc);
            EXPECT_EQ(static_cast<int>(types.size()), n) << "bihuamc " << row.bihuamc;
            for (const auto& item : types) {
                const auto v = ParseNumber(item);
                ASSERT_TRUE(v) << "bihuamc " << row.bihuamc;
                EXPECT_LE(*v, 31);
            }
        }

        // Each contour: clockwise, no two equal neighbouring points, and the
        // contours run from the top of the character down, then left to right.
        FT_BBox prev{};
        for (int k = 0; k < n; ++k) {
            const int first = k == 0 ? 0 : outline.contours[k - 1] + 1;
            const int count = outline.contours[k] - first + 1;
            ASSERT_GE(count, 3);
            EXPECT_LT(SignedArea(outline.points + first, count), 0) << "contour " << k + 1;
            for (int i = 0; i < count; ++i) {
                const FT_Vector& p = outline.points[first + i];
                const FT_Vector& q = outline.points[first + (i + 1) % count];
                EXPECT_FALSE(p.x == q.x && p.y == q.y) << "contour " << k + 1 << " point " << i;
            }
            const FT_BBox box = ContourBox(outline, k);
            if (k > 0) {
                // One unit of slack: the generator orders by the exact curve
                // box, FreeType's box is rounded to whole units.
                EXPECT_LE(box.yMax, prev.yMax + 1) << "contour " << k + 1 << " lies higher";
            }
            prev = box;
        }
    }
    // Most characters take their types from cnchar-order; of GB2312's, only those that
    // source lacks or counts differently, and those whose names the generator found in
    // another order than the strokes (a few dozen), are left to the shape analysis.
    EXPECT_GT(typed, 6700u);
    EXPECT_LE(untypedGb2312, 80u);
}

TEST_F(ShippedData, StoreRowsOfKnownCharacters) {
    struct Known {
        const char* hanzi;
        const char* bishun;
        const char* bihuamc;
    };
    // 十: the vertical stroke sits higher, so it is contour 1, yet the
    // horizontal one is written first. 口: 竖 (contour 2) comes before 横折
    // (contour 1). 一 is one 横.
    const Known known[] = {
        {"一", "1", "0"},
        {"十", "2,1", "1,0"},
        {"口", "2,1,3", "4,1,0"},
        {"人", "1,2", "2,5"},
    };
    for (const auto& k : known) {
        const StoreRow* r = Row(k.hanzi);
        ASSERT_NE(r, nullptr) << k.hanzi;
        EXPECT_EQ(r->bishun, k.bishun) << k.hanzi;
        EXPECT_EQ(r->bihuamc, k.bihuamc) << k.hanzi;
    }
    // 高: ten strokes, a real permutation (not writing order = glyph order),
    // written from the dot at the top.
    const StoreRow* gao = Row("高");
    ASSERT_NE(gao, nullptr);
    const auto order = SplitCommas(gao->bishun);
    ASSERT_EQ(order.size(), 10u);
    EXPECT_EQ(order.front(), "1");
    EXPECT_NE(gao->bishun, "1,2,3,4,5,6,7,8,9,10");
    // 心: 卧钩 (18) is told apart from 斜钩 (17); 我 has a 斜钩.
    const StoreRow* xin = Row("心");
    ASSERT_NE(xin, nullptr);
    EXPECT_NE(xin->bihuamc.find("18"), std::string::npos) << xin->bihuamc;
    const StoreRow* wo = Row("我");
    ASSERT_NE(wo, nullptr);
    EXPECT_NE(wo->bihuamc.find("17"), std::string::npos) << wo->bihuamc;
}

// The store's two lookup tables: a name for every stroke-type code the store uses, and a
// radical for every character (the simplified radical where Unihan marks one).
TEST_F(ShippedData, StrokeNamesAndRadicals) {
    sqlite3* db = nullptr;
    const fs::path store = kProgramDir / "hz.db";
    ASSERT_EQ(sqlite3_open_v2(store.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    auto pairs = [db](const char* sql) {
        std::map<std::string, std::string> out;
        sqlite3_stmt* st = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        while (st && sqlite3_step(st) == SQLITE_ROW) {
            const auto* a = sqlite3_column_text(st, 0);
            const auto* b = sqlite3_column_text(st, 1);
            out[a ? reinterpret_cast<const char*>(a) : ""] = b ? reinterpret_cast<const char*>(b) : "";
        }
        sqlite3_finalize(st);
        return out;
    };
    const auto names = pairs("SELECT code, name FROM bihuaming");
    const auto radicals = pairs("SELECT hanzi, bushou FROM bushou");
    sqlite3_close(db);

    EXPECT_EQ(names.at("0"), "横");
    EXPECT_EQ(names.at("7"), "横折钩");
    const std::pair<const char*, const char*> known[] = {
        {"江", "水"}, {"红", "纟"}, {"高", "高"}, {"说", "讠"}, {"你", "人"}, {"爨", "火"}};
    for (const auto& [hanzi, radical] : known) {
        ASSERT_TRUE(radicals.count(hanzi)) << hanzi;
        EXPECT_EQ(radicals.at(hanzi), radical) << hanzi;
    }
    for (const auto& r : *rows_) {
        EXPECT_TRUE(radicals.count(r.hanzi)) << r.hanzi << " has no radical";
        if (r.bihuamc.empty()) continue;
        for (const auto& code : SplitCommas(r.bihuamc))
            EXPECT_TRUE(names.count(code)) << r.hanzi << ": stroke type " << code << " has no name";
    }
}

// A character's stroke-type codes in writing order.
std::vector<int> WrittenTypes(const StoreRow& r) {
    const auto types = SplitCommas(r.bihuamc);
    std::vector<int> out;
    for (const auto& k : SplitCommas(r.bishun)) out.push_back(std::stoi(types.at(std::stoul(k) - 1)));
    return out;
}

// The rows of a TAB-separated data file, comments and blank lines left out.
std::vector<std::vector<std::string>> TsvRows(const fs::path& path) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(ReadFile(path));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        for (size_t start = 0;;) {
            const size_t tab = line.find('\t', start);
            fields.push_back(line.substr(start, tab - start));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        rows.push_back(fields);
    }
    return rows;
}

// Stroke names that the letters of the source alone got wrong, class by class, in writing
// order, beside names of the same letters that were right; and every override names a
// typed character whose stroke now has that name.
TEST_F(ShippedData, StrokeNamesOfEachClassAndTheOverrides) {
    std::map<std::string, int> code;
    for (const auto& row : TsvRows(kDataSources / "stroketypes.tsv")) code[row.at(1)] = std::stoi(row.at(0));
    ASSERT_EQ(code.size(), 32u);
    const std::pair<const char*, std::vector<const char*>> named[] = {
        {"山", {"竖", "竖折", "竖"}},                     // 竖折, not 竖弯
        {"出", {"竖折", "竖", "竖", "竖折", "竖"}},
        {"母", {"竖折", "横折钩", "点", "横", "点"}},
        {"四", {"竖", "横折", "撇", "竖弯", "横"}},         // 竖弯 proper stays
        {"酒", {"点", "点", "提", "横", "竖", "横折", "撇", "竖弯", "横", "横"}},
        {"尊", {"点", "撇", "横", "竖", "横折", "撇", "竖弯", "横", "横", "横", "竖钩", "点"}},
        {"风", {"撇", "横斜钩", "撇", "点"}},               // 横斜钩, not 横折弯钩
        {"飞", {"横斜钩", "撇", "点"}},
        {"气", {"撇", "横", "横", "横斜钩"}},
        {"九", {"撇", "横折弯钩"}},                         // 横折弯钩 stays
        {"凹", {"竖", "横折折", "竖", "横折", "横"}},
        {"子", {"横撇", "弯钩", "横"}},                     // 弯钩, not 竖钩
        {"了", {"横撇", "弯钩"}},
        {"小", {"竖钩", "撇", "点"}},                       // 竖钩 stays
        {"矛", {"横撇", "点", "横钩", "竖钩", "撇"}},
        {"欠", {"撇", "横钩", "撇", "捺"}},                 // 横钩 of ⺈, not 横撇
        {"你", {"撇", "竖", "撇", "横钩", "竖钩", "撇", "点"}},
        {"饭", {"撇", "横钩", "竖提", "撇", "撇", "横撇", "捺"}},
        {"角", {"撇", "横撇", "撇", "横折钩", "横", "横", "竖"}},  // 横撇 stays
        {"乃", {"横折折折钩", "撇"}},                       // 横折折折钩, not 横撇弯钩
        {"汤", {"点", "点", "提", "横折折折钩", "撇", "撇"}},
        {"那", {"横折钩", "横", "横", "撇", "横撇弯钩", "竖"}},  // the ear stays
        {"冉", {"竖", "横折钩", "竖", "横", "横"}},         // in its corrected order
        {"肠", {"撇", "横折钩", "横", "横", "横折折折钩", "撇", "撇"}},
    };
    for (const auto& [hanzi, names] : named) {
        const StoreRow* r = Row(hanzi);
        ASSERT_NE(r, nullptr) << hanzi;
        std::vector<int> want;
        for (const char* n : names) want.push_back(code.at(n));
        EXPECT_EQ(WrittenTypes(*r), want) << hanzi;
    }
    const StoreRow* ding = Row("鼎");
    ASSERT_NE(ding, nullptr);
    EXPECT_EQ(WrittenTypes(*ding).at(5), code.at("竖折折"));

    // Corrected writing orders: each an order of all the character's strokes.
    for (const auto& o : TsvRows(kDataSources / "order_overrides.tsv")) {
        ASSERT_EQ(o.size(), 3u);
        const StoreRow* r = Row(o[0]);
        ASSERT_NE(r, nullptr) << o[0];
        auto order = SplitCommas(o[1]);
        std::sort(order.begin(), order.end(), [](const std::string& a, const std::string& b) {
            return std::stoi(a) < std::stoi(b);
        });
        for (size_t k = 0; k < order.size(); ++k) EXPECT_EQ(order[k], std::to_string(k + 1)) << o[0];
        EXPECT_EQ(order.size(), SplitCommas(r->bishun).size()) << o[0];
        EXPECT_FALSE(r->bihuamc.empty()) << o[0] << " has no stroke types in its corrected order";
    }

    const auto overrides = TsvRows(kDataSources / "stroke_overrides.tsv");
    EXPECT_GE(overrides.size(), 50u);
    for (const auto& o : overrides) {
        ASSERT_EQ(o.size(), 5u);
        const StoreRow* r = Row(o[0]);
        ASSERT_NE(r, nullptr) << o[0];
        const auto written = WrittenTypes(*r);
        const size_t stroke = std::stoul(o[1]);
        ASSERT_TRUE(stroke >= 1 && stroke <= written.size()) << o[0];
        EXPECT_EQ(written[stroke - 1], code.at(o[2])) << o[0] << " stroke " << stroke;
        EXPECT_NE(o[2], o[3]) << o[0] << ": an override that changes nothing";
        EXPECT_FALSE(o[4].empty()) << o[0] << ": no reason";
    }
}

// ------------------------------------------------------------- the textbooks

TEST_F(ShippedData, EveryTextbookPageParsesAndIsCovered) {
    Converter gbk("UTF-8", "GBK");
    ASSERT_TRUE(gbk.ok());
    std::set<std::string> stored;
    for (const auto& r : *rows_) stored.insert(r.hanzi);

    std::map<std::string, size_t> pages_of;
    std::map<std::string, size_t> chars_of;
    for (const auto& entry : fs::directory_iterator(kProgramDir / "book")) {
        if (entry.path().extension() != ".txt") continue;
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        const auto pages = Tokens(ReadFile(entry.path()));
        pages_of[name] = pages.size();
        if (name == "基础篇") {
            // Words of the beginner's book stand on one page.
            for (const char* word : {"整齐", "帮忙", "干净", "美丽", "朋友", "做事"}) {
                Converter toGbk("GBK", "UTF-8");
                const std::string w = *toGbk(word);
                EXPECT_TRUE(std::any_of(pages.begin(), pages.end(), [&](const std::string& p) {
                    return p.find(w) != std::string::npos && p.find(w) % 2 == 0;
                })) << word << " is split across pages";
            }
        }
        for (const auto& page : pages) {
            SCOPED_TRACE(page);
            // The page reader fills five buttons from double-byte characters
            // that start at a byte in 0xA1..0xFD; ours are GB2312 characters,
            // whose second byte is 0xA1..0xFE.
            ASSERT_EQ(page.size() % 2, 0u);
            ASSERT_LE(page.size(), 10u) << "more than five characters";
            for (size_t i = 0; i < page.size(); i += 2) {
                const auto lead = static_cast<unsigned char>(page[i]);
                const auto trail = static_cast<unsigned char>(page[i + 1]);
                ASSERT_GE(lead, 0xA1);
                ASSERT_LE(lead, 0xFD);
                ASSERT_GE(trail, 0xA1);
                ASSERT_LE(trail, 0xFE);
                const std::string pair = page.substr(i, 2);
                const auto utf8 = gbk(pair);
                ASSERT_TRUE(utf8) << "not GBK";
                const auto cp = SingleCodePoint(*utf8);
                ASSERT_TRUE(cp);
                EXPECT_NE(FT_Get_Char_Index(face_, *cp), 0u) << *utf8 << " has no glyph";
                EXPECT_TRUE(stored.count(*utf8)) << *utf8 << " has no store row";
                EXPECT_TRUE(readings_->count(pair)) << *utf8 << " has no reading";
                ++chars_of[name];
            }
        }
    }
    ASSERT_TRUE(pages_of.count("基础篇"));
    EXPECT_GE(pages_of["基础篇"], 40u);
    ASSERT_TRUE(pages_of.count("通用规范一级字"));
    EXPECT_GE(chars_of["通用规范一级字"], 3498u);
    EXPECT_GE(pages_of.size(), 4u) << "the beginner's book, the standard list and two themed books";
}

// ----------------------------------------------------------- the pinyin table

int ToneOf(char32_t c, char* base) {
    static const std::u32string marked[] = {U"āēīōūǖ", U"áéíóúǘḿń", U"ǎěǐǒǔǚň", U"àèìòùǜǹ"};
    static const char bases1[] = "aeiouv";
    static const char bases2[] = "aeiouvmn";
    static const char bases3[] = "aeiouvn";
    static const char bases4[] = "aeiouvn";
    const char* bases[] = {bases1, bases2, bases3, bases4};
    for (int t = 0; t < 4; ++t) {
        const auto pos = marked[t].find(c);
        if (pos != std::u32string::npos) {
            *base = bases[t][pos];
            return t + 1;
        }
    }
    if (c == U'ü') {
        *base = 'v';
        return 0;
    }
    if (c == U'ê') {
        *base = 'e';
        return 0;
    }
    if (c >= U'a' && c <= U'z') {
        *base = static_cast<char>(c);
        return 0;
    }
    return -1;
}

std::u32string Utf8To32(const std::string& s) {
    Converter to32("UTF-32LE", "UTF-8");
    const auto out = to32(s);
    std::u32string r;
    if (!out) return r;
    for (size_t i = 0; i + 3 < out->size(); i += 4) {
        char32_t c = 0;
        for (int b = 3; b >= 0; --b) c = (c << 8) | static_cast<unsigned char>((*out)[i + b]);
        r += c;
    }
    return r;
}

TEST_F(ShippedData, PinyinTableParsesWithNoMalformedLine) {
    const std::string table = ReadFile(kPinyinTable);
    ASSERT_GE(table.size(), 2u);
    ASSERT_EQ(table.substr(table.size() - 2), "\r\n") << "the last line must be ended";
    Converter gbk("UTF-8", "GBK");
    Converter gb18030("UTF-8", "GB18030");
    ASSERT_TRUE(gbk.ok());
    ASSERT_TRUE(gb18030.ok());

    size_t lines = 0;
    std::string prev_char, prev_first_toneless;
    std::set<std::string> finished;  // characters whose lines are over
    std::map<std::string, std::vector<std::string>> readings;
    for (size_t start = 0; start < table.size();) {
        const size_t lf = table.find('\n', start);
        ASSERT_NE(lf, std::string::npos);
        const std::string line = table.substr(start, lf - start);
        start = lf + 1;
        ++lines;
        SCOPED_TRACE("line " + std::to_string(lines));
        // Read exactly as the program does: a 40-byte buffer, three commas.
        ASSERT_FALSE(line.empty());
        ASSERT_LE(line.size(), 39u);
        ASSERT_EQ(line.back(), '\r');
        const size_t c1 = line.find(',');
        ASSERT_NE(c1, std::string::npos);
        const size_t c2 = line.find(',', c1 + 1);
        ASSERT_NE(c2, std::string::npos);
        const size_t c3 = line.find(',', c2 + 1);
        ASSERT_NE(c3, std::string::npos);
        const std::string f1 = line.substr(0, c1);
        const std::string f2 = line.substr(c1 + 1, c2 - c1 - 1);
        const std::string f3 = line.substr(c2 + 1, c3 - c2 - 1);
        const std::string f4 = line.substr(c3 + 1, line.size() - 1 - c3 - 1);
        ASSERT_LT(f1.size(), 10u);
        ASSERT_LT(f2.size(), 20u);
        ASSERT_LT(f3.size(), 5u);

        ASSERT_EQ(f1.size(), 2u) << "field 1 is one double-byte character";
        ASSERT_GE(static_cast<unsigned char>(f1[0]), 0x81);
        const auto ch = gbk(f1);
        ASSERT_TRUE(ch) << "field 1 is not GBK";
        SCOPED_TRACE(*ch);

        // Field 2 uses GBK's pinyin row (GB18030 agrees with it and, unlike
        // glibc's GBK, knows ḿ and ǹ).
        ASSERT_FALSE(f2.empty());
        const auto toned = gb18030(f2);
        ASSERT_TRUE(toned);
        for (size_t i = 0; i < f2.size(); ++i) {
            // Every letter is ASCII or one double-byte letter of row 0xA8.
            const auto b = static_cast<unsigned char>(f2[i]);
            if (b < 0x80) {
                ASSERT_TRUE(b >= 'a' && b <= 'z') << f2;
                continue;
            }
            ASSERT_EQ(b, 0xA8) << f2;
            ASSERT_LT(i + 1, f2.size());
            const auto t = static_cast<unsigned char>(f2[++i]);
            ASSERT_GE(t, 0xA1) << f2;
            ASSERT_LE(t, 0xC0) << f2;
        }
        std::string toneless;
        int tone = 0;
        for (char32_t c : Utf8To32(*toned)) {
            char base = 0;
            const int t = ToneOf(c, &base);
            ASSERT_GE(t, 0) << "not a pinyin letter: " << *toned;
            if (t > 0) {
                EXPECT_EQ(tone, 0) << "two tone marks: " << *toned;
                tone = t;
            }
            toneless += base;
        }
        ASSERT_EQ(f3.size(), 1u);
        EXPECT_EQ(f3[0] - '0', tone) << *toned;
        EXPECT_EQ(f4, toneless) << *toned;

        // A character's lines stand together; characters are in the order of
        // the toneless pinyin of their first line.
        if (f1 != prev_char) {
            EXPECT_FALSE(finished.count(f1)) << "lines of one character are split up";
            if (!prev_char.empty()) finished.insert(prev_char);
            EXPECT_LE(prev_first_toneless, f4);
            prev_first_toneless = f4;
            prev_char = f1;
        }
        readings[*ch].push_back(*toned);
    }
    EXPECT_GT(lines, 20000u);
    EXPECT_GT(readings.size(), 20000u);
    // 阿: ā first, then ē right after it.
    ASSERT_GE(readings["阿"].size(), 2u);
    EXPECT_EQ(readings["阿"][0], "ā");
    EXPECT_EQ(readings["阿"][1], "ē");
    ASSERT_FALSE(readings["高"].empty());
    EXPECT_EQ(readings["高"][0], "gāo");

    // The readings a child meets first lead their characters' lines, and each is one of
    // Unihan's (the generator refuses others): 长 cháng, 地 dì among them.
    std::istringstream firsts(ReadFile(kDataSources / "first_readings.tsv"));
    std::map<std::string, std::string> overridden;
    for (std::string line; std::getline(firsts, line);) {
        if (line.empty() || line[0] == '#') continue;
        const size_t tab = line.find('\t'), tab2 = line.find('\t', tab + 1);
        ASSERT_NE(tab2, std::string::npos) << line;
        overridden[line.substr(0, tab)] = line.substr(tab + 1, tab2 - tab - 1);
    }
    EXPECT_EQ(overridden["长"], "cháng");
    EXPECT_EQ(overridden["地"], "dì");
    for (const auto& [c, reading] : overridden) {
        ASSERT_FALSE(readings[c].empty()) << c;
        EXPECT_EQ(readings[c][0], reading) << c;
        EXPECT_GT(readings[c].size(), 1u) << c << " has only the one reading: nothing to put first";
    }
}

// ------------------------------------------------------------------ the texts

TEST_F(ShippedData, StartupHelpAndStartPage) {
    Converter gbk("UTF-8", "GBK");
    const std::string help = ReadFile(kProgramDir / "首页帮助.txt");
    ASSERT_FALSE(help.empty());
    EXPECT_TRUE(gbk(help)) << "the help text is GBK";
    // The help dialog puts each white-space separated token on a line and
    // shows at most 2047 bytes; all of ours must fit.
    size_t shown = 0;
    for (const auto& token : Tokens(help)) shown += token.size() + 2;
    EXPECT_LE(shown, 2047u);

    const std::string page = ReadFile(kProgramDir / "first.htm");
    Converter utf8("UTF-8", "UTF-8");
    EXPECT_TRUE(utf8(page)) << "first.htm is UTF-8";
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("<style>"), std::string::npos);
    // It must work with no network: nothing is loaded from anywhere.
    for (const char* ref : {"http:", "https:", "src=", "href=", "url(", "@import", "<script"})
        EXPECT_EQ(page.find(ref), std::string::npos) << ref;
}

}  // namespace
