#include "controls/credits.h"

namespace quvo {

const std::vector<std::string>& CreditLines() {
    static const std::vector<std::string> lines = {
        "Lumeo6.0版 \n",
        "-----------------------\n",
        "程序设计：Quvo 开发组\r",
        "网站与页面：Quvo 开发组\r",
        "笔画与读音数据：Make Me a Hanzi、cnchar、Unihan\r",
        "",
        "笔画字形源自文鼎字体，依 Arphic Public License 使用\f",
        "",
        "笔顺笔画名称来自 cnchar（MIT 许可），读音来自 Unicode Unihan\f",
        "",
        "本软件供儿童学习汉字书写之用\f",
        "",
        "欢迎来我们的网站，和孩子一起学写字\f",
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
