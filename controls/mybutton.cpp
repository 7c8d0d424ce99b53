#include "controls/mybutton.h"

#include <cstdio>

#include "app/usermessages.h"

CMyButton::CMyButton(int index, QWidget* parent) : CButtonST(parent), m_index(index) {
    connect(this, &QPushButton::clicked, this, &CMyButton::OnClicked);
}

void CMyButton::SetCharacter(const char* gbk) {
    std::snprintf(m_character, sizeof m_character, "%s", gbk);
}

// Only a slot that holds a character says anything.
void CMyButton::OnClicked() {
    if (m_character[0] == '\0' || parent() == nullptr) {
        return;
    }
    auto* message = new quvo::UserMessageEvent(quvo::kCharacterButton, 0);
    message->text = QByteArray(m_character);
    quvo::PostUserMessage(parent(), message);
}
