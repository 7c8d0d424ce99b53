// Message pre-translation and the numbered user messages of the main dialog.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cstring>

#include "app/quvodlg.h"
#include "app/usermessages.h"
#include "controls/buttonst.h"
#include "strokes/bhwnd.h"

bool CQuvoDlg::eventFilter(QObject* watched, QEvent* event) {
    if (IsOwnWidget(watched) && PreTranslateMessage(watched, event)) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool CQuvoDlg::IsOwnWidget(QObject* object) const {
    for (QObject* o = object; o != nullptr; o = o->parent()) {
        if (o == this) {
            return true;
        }
    }
    return false;
}

// Every event for the dialog and its controls passes here before it is delivered. True
// means it was handled here and goes no further.
bool CQuvoDlg::PreTranslateMessage(QObject* watched, QEvent* event) {
    RelayToInfoTip(watched, event);
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        IsDialogKey(watched, event)) {
        StopDemo();
    }
    if (event->type() == QEvent::MouseMove && watched != this && m_pieceCarried &&
        qobject_cast<CBHWnd*>(watched)) {
        // A drag's moves go to the piece that was pressed; the dialog carries it.
        auto* move = static_cast<QMouseEvent*>(event);
        auto* piece = static_cast<QWidget*>(watched);
        QMouseEvent mapped(QEvent::MouseMove, piece->mapTo(this, move->position()), move->globalPosition(),
                           move->button(), move->buttons(), move->modifiers());
        mouseMoveEvent(&mapped);
        return true;
    }
    if (IsDialogKey(watched, event)) {
        // Return in the character box presses "拼"; otherwise neither key may end the dialog
        // or press a button. Message boxes and the chooser, windows of their own, keep them.
        if (event->type() == QEvent::KeyPress && watched == GetDlgItem(1044) &&
            static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape) {
            m_btnAssemble->click();
        }
        return true;
    }
    RestartMusicOnNotify(event);
    return false;
}

// Escape, Return or Enter for the dialog itself or one of its controls.
bool CQuvoDlg::IsDialogKey(QObject* watched, QEvent* event) const {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) {
        return false;
    }
    const auto* widget = qobject_cast<QWidget*>(watched);
    const int key = static_cast<QKeyEvent*>(event)->key();
    return widget != nullptr && widget->window() == this &&
           (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter);
}

void CQuvoDlg::customEvent(QEvent* event) {
    if (event->type() > QEvent::User && event->type() <= quvo::UserEventType(quvo::kDownloadProgress)) {
        OnUserMessage(static_cast<quvo::UserMessageEvent&>(*event));
        return;
    }
    QDialog::customEvent(event);
}

void CQuvoDlg::OnUserMessage(quvo::UserMessageEvent& event) {
    switch (event.Message()) {
    case quvo::kPieceClicked:
        OnPieceClicked(event);
        break;
    case quvo::kPiecePressed:
        OnPiecePressed(event);
        break;
    case quvo::kInitialised:
        event.result = OnInitialised();
        break;
    case quvo::kPieceMoving:
        OnPieceMoving(event);
        break;
    case quvo::kPieceHovered:
        OnPieceHovered(event);
        break;
    case quvo::kCharacterButton:
        event.result = OnCharacterButton(event.text);
        break;
    case quvo::kUpdateOffer:
        OnUpdateOffer(event);
        break;
    case quvo::kDownloadProgress:
        OnDownloadProgress(event);
        break;
    default:
        break;
    }
}

// Posted at the end of initialisation: a learner without progress gets the start-up help.
std::intptr_t CQuvoDlg::OnInitialised() {
    if (m_progressFound == -1) {
        ShowStartHelp();
    }
    return 1;
}

// A character button's character: at most 3 bytes of it, zero-terminated, are loaded.
std::intptr_t CQuvoDlg::OnCharacterButton(const QByteArray& text) {
    char character[4] = {};
    std::memcpy(character, text.constData(), std::min<std::size_t>(3, strnlen(text.constData(), 3)));
    LoadCharacter(character);
    return 1;
}
