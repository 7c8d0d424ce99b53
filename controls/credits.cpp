#include "controls/credits.h"

namespace quvo {

const std::vector<std::string>& CreditLines() {
    static const std::vector<std::string> lines = {
        "Lumeo6.0版 \n",
        "-----------------------\n",
        "程序设计：Quvo 开发组\r",
        "网站与页面：Quvo 开发组\r",
        "数据：Make Me a Hanzi、cnchar\r",
        "",
        "字形源自文鼎字体（Arphic 许可）\f",
        "",
        "笔画名称：cnchar；读音：Unihan\f",
        "",
        "本软件供儿童学写汉字之用\f",
        "",
        "欢迎来网站和孩子一起学写字\f",
        "",
        "留下您的宝贵意见\n",
        "",
    };
    return lines;
}

CreditStyle StyleOf(const std::string& line) {
    if (line.empty()) {
        return CreditStyle::kNotice;
    }
    switch (line.back()) {
    case '\n':
        return CreditStyle::kTitle;
    case '\r':
        return CreditStyle::kRole;
    default:
        return CreditStyle::kNotice;
    }
}

int FontHeightOf(CreditStyle style) {
    switch (style) {
    case CreditStyle::kTitle:
        return 22;
    case CreditStyle::kRole:
        return 20;
    case CreditStyle::kNotice:
        return 18;
    }
    return 18;
}

CreditsScroll::Step CreditsScroll::Tick() {
    const int taken = m_counter++;
    Step step = Step::kScroll;
    if (taken % m_lineHeight == 0) {
        const auto& lines = CreditLines();
        m_current = m_lineIndex < static_cast<int>(lines.size()) ? lines[static_cast<std::size_t>(m_lineIndex)] : std::string();
        if (!m_current.empty()) {
            m_lineHeight = FontHeightOf(StyleOf(m_current));
        }
        m_counter = 1;
        ++m_lineIndex;
        m_rowsShown = 0;
        step = m_lineIndex > 15 ? Step::kOver : Step::kNewLine;
    }
    ++m_rowsShown;
    return step;
}

}  // namespace quvo
