// The start-up help's text and the closing credits' scroll, as plain code.
#include <gtest/gtest.h>

#include "controls/credits.h"
#include "controls/helptext.h"

namespace {

// One token per line; white space of any kind separates; the text ends at the last whole
// token within 2047 bytes; a token longer than 1023 bytes is cut between two characters.
TEST(HelpText, OneTokenPerLineWithinTheLimits) {
    const std::string wo = "\xCE\xD2";  // 我, two bytes
    struct Case {
        std::string file, text;
    };
    std::string fill, shown;  // 20 tokens of 101 bytes: 2040 bytes with their line breaks
    for (int i = 0; i < 20; ++i) {
        fill += std::string(101, 'a') + " ";
        shown += std::string(101, 'a') + "\n";
    }
    for (const Case& c : {Case{"", ""},
                          Case{"one two\r\nthree\t four\n", "one\ntwo\nthree\nfour\n"},
                          Case{"  " + wo + wo + " x", wo + wo + "\nx\n"},
                          Case{fill + "abcdef", shown + "abcdef\n"},       // exactly 2047
                          Case{fill + "abcdefg z", shown}}) {               // 2048: ends the text
        const std::string text = quvo::HelpTextFromFile(c.file);
        EXPECT_EQ(text, c.text);
        EXPECT_LE(text.size(), quvo::kHelpTextLimit);
    }
    // 1023 bytes: "a" and 511 double-byte characters fit; a token of "a" and 600 of them is
    // cut before the 512th, never through one.
    std::string longToken = "a";
    for (int i = 0; i < 600; ++i) longToken += wo;
    const std::string cut = quvo::HelpTextFromFile(longToken + " end");
    EXPECT_EQ(cut, longToken.substr(0, 1 + 2 * 511) + "\nend\n");
    std::string odd;  // 1024 bytes of double-byte characters: 511 of them fit
    for (int i = 0; i < 512; ++i) odd += wo;
    EXPECT_EQ(quvo::HelpTextFromFile(odd).size(), 1022u + 1);
}

// The first line comes at the 18th step; each line then stays as many steps as its font is
// high; the credits are over when the sixteenth, empty line is taken.
TEST(Credits, LinesComeAtTheirStepsAndTheScrollEnds) {
    quvo::CreditsScroll scroll;
    for (int step = 1; step < 18; ++step) {
        EXPECT_EQ(scroll.Tick(), quvo::CreditsScroll::Step::kScroll) << step;
        EXPECT_TRUE(scroll.CurrentLine().empty());
    }
    EXPECT_EQ(scroll.Tick(), quvo::CreditsScroll::Step::kNewLine);
    EXPECT_EQ(scroll.CurrentLine(), quvo::CreditLines().front());
    EXPECT_EQ(scroll.LineHeight(), 22);  // the title style
    EXPECT_EQ(scroll.RowsShown(), 1);

    int steps = 18, expected = 18;
    int height = 22;
    for (std::size_t i = 1; i < quvo::CreditLines().size(); ++i) {
        expected += height;  // line i comes after the line before has had its steps
        const std::string& line = quvo::CreditLines()[i];
        if (!line.empty()) height = quvo::FontHeightOf(quvo::StyleOf(line));
    }
    quvo::CreditsScroll::Step last = quvo::CreditsScroll::Step::kScroll;
    while (last != quvo::CreditsScroll::Step::kOver && steps < 1000) {
        last = scroll.Tick();
        ++steps;
    }
    EXPECT_EQ(last, quvo::CreditsScroll::Step::kOver);
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(scroll.LineIndex(), 16);
    // About 14 s at 25 steps a second.
    EXPECT_NEAR(steps * 40 / 1000.0, 12.5, 2.0);

    EXPECT_EQ(quvo::CreditLines().size(), 16u);
    EXPECT_EQ(quvo::StyleOf(quvo::CreditLines()[2]), quvo::CreditStyle::kRole);
    EXPECT_EQ(quvo::StyleOf(quvo::CreditLines()[6]), quvo::CreditStyle::kNotice);
    EXPECT_EQ(quvo::CreditLines()[14], "留下您的宝贵意见\n");
}

}  // namespace
