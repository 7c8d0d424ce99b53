#include "controls/xinfotip.h"

CXInfoTip::CXInfoTip() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_ShowWithoutActivating);
}

CXInfoTip::~CXInfoTip() = default;

bool CXInfoTip::CreateTip(QWidget* parent) {
    setParent(parent, Qt::ToolTip | Qt::FramelessWindowHint);
    setGeometry(0, 0, 0, 0);
    hide();
    return true;
}

void CXInfoTip::AttachTip(QWidget* window, const QString& text, const QIcon& icon) {
    m_tools[window] = TipEntry{window, text, icon};
}

void CXInfoTip::DetachTip(QWidget* window) { m_tools.erase(window); }

const CXInfoTip::TipEntry* CXInfoTip::FindTip(const QWidget* window) const {
    const auto it = m_tools.find(window);
    if (it == m_tools.end() || it->second.window.data() != window) {
        return nullptr;
    }
    return &it->second;
}
