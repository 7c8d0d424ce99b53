#include "online/characterlibrary.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

#include "chardata/characterstore.h"
#include "chardata/gbk.h"
#include "chardata/strokeitems.h"
#include "chardata/textbook.h"
#include "strokes/glyphoutline.h"
#include "strokes/glyphsource.h"
#include "strokes/outlineseg.h"

namespace quvo {
namespace {

std::string JoinPath(const std::string& folder, const std::string& name) {
    return (std::filesystem::path(folder) / name).string();
}

std::string ReadWholeFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The GBK bytes of a text that is exactly one character of GBK's double-byte range.
std::optional<std::string> SingleGbkCharacter(std::string_view utf8) {
    const auto gbk = Utf8ToGbk(utf8);
    if (!gbk || gbk->size() != 2 || static_cast<unsigned char>((*gbk)[0]) < 0x81) {
        return std::nullopt;
    }
    // Two single-byte characters also make two bytes; only a real round trip is one character.
    const auto back = GbkToUtf8(*gbk);
    if (!back || *back != utf8) {
        return std::nullopt;
    }
    return gbk;
}

// One character's readings (the character in GBK) from the table's lines "character,toned
// pinyin,tone,toneless", in the table's order, each once, in UTF-8. Lines that do not have the
// four fields, and readings that are empty or not GBK, are passed over. A character asks for a
// few lines of a table of some 20,000: finding them costs less than indexing it.
std::vector<std::string> FindReadings(std::string_view table, const std::string& gbk) {
    std::vector<std::string> list;
    const std::string key = gbk + ",";
    for (std::size_t at = table.find(key); at != std::string_view::npos; at = table.find(key, at + 1)) {
        if (at != 0 && table[at - 1] != '\n') {
            continue;
        }
        const std::string_view line = table.substr(at, table.find('\n', at) - at);
        const std::size_t c2 = line.find(',', key.size());
        if (c2 == std::string_view::npos || line.find(',', c2 + 1) == std::string_view::npos) {
            continue;
        }
        const auto pinyin = GbkToUtf8(line.substr(key.size(), c2 - key.size()));
        if (pinyin && !pinyin->empty() && std::find(list.begin(), list.end(), *pinyin) == list.end()) {
            list.push_back(*pinyin);
        }
    }
    return list;
}

std::string Number(std::int32_t value) {
    return std::to_string(value);
}

void AppendPoint(std::string& d, const StrokePoint& p) {
    d += Number(p.x);
    d += ' ';
    d += Number(p.y);
}

// One contour as SVG path data: line runs as L, Bezier runs as C (poly-Bezier layout: the
// start point, then groups of three), closed with Z.
std::string ContourPath(const OutlineSeg* seg) {
    std::string d;
    for (; seg; seg = seg->nextSeg) {
        if (seg->pointCount == 0) {
            continue;
        }
        if (d.empty()) {
            d += 'M';
            AppendPoint(d, seg->points[0]);
        }
        if (seg->kind == OutlineSeg::kBezier) {
            for (std::uint32_t i = 1; i + 2 < seg->pointCount; i += 3) {
                d += 'C';
                AppendPoint(d, seg->points[i]);
                d += ' ';
                AppendPoint(d, seg->points[i + 1]);
                d += ' ';
                AppendPoint(d, seg->points[i + 2]);
            }
        } else {
            for (std::uint32_t i = 1; i < seg->pointCount; ++i) {
                d += 'L';
                AppendPoint(d, seg->points[i]);
            }
        }
    }
    if (!d.empty()) {
        d += 'Z';
    }
    return d;
}

// The writing order of the store when it names every contour once, else contour order.
std::vector<int> WritingOrder(const std::string& orderText, int strokeCount) {
    std::vector<int> order;
    std::vector<bool> seen(static_cast<std::size_t>(strokeCount) + 1, false);
    for (int k = 1; k <= strokeCount; ++k) {
        const int contour = StrokeOrderAt(orderText, k, strokeCount);
        if (contour < 1 || contour > strokeCount || seen[static_cast<std::size_t>(contour)]) {
            order.clear();
            break;
        }
        seen[static_cast<std::size_t>(contour)] = true;
        order.push_back(contour);
    }
    if (order.empty()) {
        for (int k = 1; k <= strokeCount; ++k) {
            order.push_back(k);
        }
    }
    return order;
}

}  // namespace

struct CharacterLibrary::Impl {
    GlyphSource font;
    std::string storeFile;
    std::string pinyinSource;
    sqlite3* store = nullptr;  // read-only, for the names and radicals
    bool storeTried = false;

    std::optional<std::map<int, std::string>> strokeNames;
    std::optional<std::string> pinyinFile;  // the table's bytes, once read from its file
    bool booksRead = false;
    std::map<std::string, std::vector<TextbookPlace>> places;  // by GBK character
    std::map<std::string, std::string> pageBooks;              // GBK page characters -> book

    Impl(const std::string& folder, const std::string& pinyinTable)
        : font(JoinPath(folder, "fonts/quvokai.ttf")),
          storeFile(JoinPath(folder, "hz.db")),
          pinyinSource(pinyinTable) {}
    ~Impl() {
        if (store) {
            sqlite3_close(store);
        }
    }

    sqlite3* Store() {
        if (!storeTried) {
            storeTried = true;
            if (sqlite3_open_v2(storeFile.c_str(), &store, SQLITE_OPEN_READONLY, nullptr) !=
                SQLITE_OK) {
                sqlite3_close(store);
                store = nullptr;
            }
        }
        return store;
    }

    // Rows of a two-column query; nothing when the table is missing.
    template <typename Row>
    void Query(const char* sql, const std::string& key, Row&& row) {
        sqlite3* db = Store();
        sqlite3_stmt* statement = nullptr;
        if (!db || sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
            return;
        }
        if (!key.empty()) {
            sqlite3_bind_text(statement, 1, key.data(), static_cast<int>(key.size()),
                              SQLITE_TRANSIENT);
        }
        while (sqlite3_step(statement) == SQLITE_ROW) {
            const auto* text = sqlite3_column_text(statement, 1);
            row(sqlite3_column_int(statement, 0), text ? reinterpret_cast<const char*>(text) : "");
        }
        sqlite3_finalize(statement);
    }

    const std::map<int, std::string>& StrokeNames() {
        if (!strokeNames) {
            strokeNames.emplace();
            Query("select code, name from bihuaming", {},
                  [this](int code, const char* name) { (*strokeNames)[code] = name; });
        }
        return *strokeNames;
    }

    std::string Radical(const std::string& utf8) {
        std::string radical;
        Query("select hanzi, bushou from bushou where hanzi = ?", utf8,
              [&radical](int, const char* text) { radical = text; });
        return radical;
    }

    // The pinyin table is a file name, or the table's own bytes when it holds a line end.
    std::vector<std::string> Readings(const std::string& gbk) {
        if (pinyinSource.find('\n') != std::string::npos) {
            return FindReadings(pinyinSource, gbk);
        }
        if (!pinyinFile) {
            pinyinFile = ReadWholeFile(pinyinSource);
        }
        return FindReadings(*pinyinFile, gbk);
    }

    void ReadBooks(const std::string& folder) {
        booksRead = true;
        std::vector<TextbookEntry> books = ListTextbooks(JoinPath(folder, "book"));
        std::sort(books.begin(), books.end(),
                  [](const auto& a, const auto& b) { return a.name < b.name; });
        for (const TextbookEntry& book : books) {
            const std::vector<std::string> pages = ReadTextbookPages(book.path);
            for (std::size_t n = 0; n < pages.size(); ++n) {
                AddPage(book.name, static_cast<int>(n) + 1, PickPageCharacters(pages[n]));
            }
        }
    }

    void AddPage(const std::string& book, int number, const std::vector<std::string>& characters) {
        std::string joined;
        for (const std::string& c : characters) {
            joined += c;
            auto& list = places[c];
            if (list.empty() || list.back().book != book || list.back().page != number) {
                list.push_back({book, number});
            }
        }
        pageBooks.emplace(joined, book);
    }

    bool Outline(std::uint16_t code, CharacterInfo& info) {
        if (!font.HasGlyph(code)) {
            return false;
        }
        std::vector<std::uint8_t> bytes;
        if (font.NativeOutline(code, kGlyphBox, bytes) <= 0) {
            return false;
        }
        StrokeList list;
        list.Reset();
        const int n = WalkGlyphOutline(bytes.data(), bytes.size(), font.Metrics(kGlyphBox).ascent,
                                       {}, list.SegmentCursor(), list.HeadCursor());
        info.contourPaths.clear();
        for (int k = 1; k <= n; ++k) {
            info.contourPaths.push_back(ContourPath(list.StrokeAt(k)));
        }
        info.strokeCount = n;
        return n > 0;
    }
};

std::string PlaceText(const TextbookPlace& place) {
    return place.book + " 第" + std::to_string(place.page) + "页";
}

CharacterLibrary::CharacterLibrary(std::string programFolder, std::string pinyinTable)
    : m_folder(std::move(programFolder)),
      m_pinyinTable(std::move(pinyinTable)),
      m_impl(new Impl(m_folder, m_pinyinTable)) {}

CharacterLibrary::~CharacterLibrary() {
    delete m_impl;
}

bool CharacterLibrary::Describe(std::string_view utf8Character, CharacterInfo& info) const {
    const auto gbk = SingleGbkCharacter(utf8Character);
    if (!gbk) {
        return false;
    }
    const StoreAnswer answer = QueryCharacterStore(m_impl->storeFile, *gbk);
    if (answer.status != StoreAnswer::kFound) {
        return false;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    CharacterInfo found;
    const auto* b = reinterpret_cast<const unsigned char*>(gbk->data());
    if (!m_impl->Outline(static_cast<std::uint16_t>(b[0] * 256 + b[1]), found)) {
        return false;
    }
    found.character = std::string(utf8Character);
    found.writingOrder = WritingOrder(answer.strokeOrder, found.strokeCount);
    const auto& names = m_impl->StrokeNames();
    for (const int contour : found.writingOrder) {
        const int type = StrokeTypeAt(answer.strokeTypes, contour);
        const auto it = names.find(type);
        found.strokeNames.push_back(it == names.end() ? std::string() : it->second);
    }
    found.readings = m_impl->Readings(*gbk);
    found.radical = m_impl->Radical(found.character);
    if (!m_impl->booksRead) {
        m_impl->ReadBooks(m_folder);
    }
    const auto places = m_impl->places.find(*gbk);
    if (places != m_impl->places.end()) {
        found.places = places->second;
    }
    info = std::move(found);
    return true;
}

std::string CharacterLibrary::BookOfPage(std::string_view utf8Characters) const {
    const auto gbk = Utf8ToGbk(utf8Characters);
    if (!gbk || gbk->empty()) {
        return {};
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_impl->booksRead) {
        m_impl->ReadBooks(m_folder);
    }
    const auto it = m_impl->pageBooks.find(*gbk);
    return it == m_impl->pageBooks.end() ? std::string() : it->second;
}

}  // namespace quvo
