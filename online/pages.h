#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "online/characterlibrary.h"

namespace quvo {

// The pages of the page server: UTF-8 HTML documents with their own styles and inline SVG,
// no outside resources, laid out for the program's 210-pixel-wide web panel. Every value
// that comes from a request is escaped here.

// Text made safe for HTML element content and for quoted attribute values.
std::string HtmlEscape(std::string_view text);

// One finished round of the game, as the result page's query reports it.
struct RoundResult {
    std::string character;           // UTF-8
    bool right = false;              // f=ok
    std::vector<int> wrongPositions; // b: writing positions (from 1) placed out of order
    int strokeCount = 0;             // c
    std::string pageCharacters;      // s without its commas, UTF-8
};

// One character's rounds so far (the round just recorded included).
struct CharacterHistory {
    int tries = 0;
    int right = 0;
    bool rightFirstTime = false;  // the first round ever was right
};

// A line of the learning record: one character of one textbook.
struct RecordLine {
    std::string book;       // empty for characters typed in or of no known page
    std::string character;
    int tries = 0;
    int right = 0;
    std::int64_t lastTime = 0;  // seconds since 1970, UTC
};

// Today at a glance, for the start page.
struct DaySummary {
    int rounds = 0;
    int right = 0;
    std::vector<std::string> characters;  // practised today, first practised first
};

std::string CharacterPage(const CharacterInfo& info);
std::string ResultPage(const CharacterInfo& info, const RoundResult& result,
                       const CharacterHistory& history);
// product is the start page's c value; the record page is linked from here.
std::string StartPage(std::string_view product, const DaySummary& today);
// utcOffsetSeconds turns stored times into the reader's local time.
std::string RecordPage(const std::vector<RecordLine>& lines, int utcOffsetSeconds);
std::string RecordCsv(const std::vector<RecordLine>& lines, int utcOffsetSeconds);
std::string HelpPage(std::string_view programFolder);
// A friendly page for an unknown character, a malformed query or an unknown address.
std::string MessagePage(std::string_view title, std::string_view text);

// Addresses of the record, as linked from the start page.
inline constexpr char kRecordPath[] = "/jilu.asp";
inline constexpr char kRecordCsvPath[] = "/jilu.csv";

}  // namespace quvo
