#pragma once

#include <string>
#include <vector>

namespace quvo {

// The closing credits: sixteen lines scrolled up one pixel every 40 ms. The last character
// of a line is its style (line feed: red bold underlined 22; carriage return: yellow bold 20;
// anything else: thin white 18) and is not shown; an empty line shows nothing.
const std::vector<std::string>& CreditLines();

enum class CreditStyle { kTitle, kRole, kNotice };
CreditStyle StyleOf(const std::string& line);
int FontHeightOf(CreditStyle style);

// The scroll, step by step: a line is taken when the step counter reaches the line height
// (the first at the 18th step), and after the sixteenth, empty line the credits are over.
class CreditsScroll {
public:
    enum class Step { kScroll, kNewLine, kOver };
    Step Tick();

    const std::string& CurrentLine() const { return m_current; }
    int LineIndex() const { return m_lineIndex; }
    int LineHeight() const { return m_lineHeight; }
    int RowsShown() const { return m_rowsShown; }

private:
    int m_lineIndex = 0;
    int m_counter = 1;
    std::string m_current;
    int m_lineHeight = 18;
    int m_rowsShown = 0;
};

}  // namespace quvo
