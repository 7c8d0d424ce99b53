#pragma once

#include "controls/buttonst.h"

// One slot of the row of character buttons: it stands for one character of the textbook
// page and, when clicked, tells its parent dialog to load that character.
class CMyButton : public CButtonST {
    Q_OBJECT

public:
    CMyButton(int index, QWidget* parent);

    int Index() const { return m_index; }
    // A GBK character of at most 2 bytes; longer text is cut. Empty for a slot without one.
    void SetCharacter(const char* gbk);
    const char* Character() const { return m_character; }

private:
    void OnClicked();

    int m_index;
    char m_character[3] = {};
};
