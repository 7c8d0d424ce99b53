// The window buttons of the control panel (help in the desktop's browser, full screen with
// the screen switched to 1024 x 768 where it can be), and the start-up help and credits.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include "app/quvodlg.h"
#include "controls/buttonst.h"
#include "controls/display.h"
#include "controls/modal.h"
#include "controls/starthelp.h"

// The button's caption tells the state: "全屏" windowed, "复原" full screen.
void CQuvoDlg::OnFullScreen() {
    if (m_btnFullScreen->text() == QStringLiteral("全屏")) {
        EnterFullScreen();
    } else {
        LeaveFullScreen();
    }
}

// The screen's mode is kept to be put back. A screen that is neither 1024 wide nor 768 high
// switches to 1024 x 768; should it not (no such mode, no way to switch), the window covers
// the screen as it is, and nothing is said.
void CQuvoDlg::EnterFullScreen() {
    quvo::DisplayModes& modes = quvo::DisplayModes::Default();
    m_savedMode = quvo::DisplayMode();
    QSize size = screen() ? screen()->geometry().size() : QSize(kWidth, kHeight);
    if (modes.Current(m_savedMode) && m_savedMode.width != kWidth && m_savedMode.height != kHeight &&
        modes.Change(kWidth, kHeight)) {
        size = QSize(kWidth, kHeight);
    }
    setFixedSize(size);
    setGeometry(QRect(QPoint(0, 0), size));
    m_fullScreenActive = 1;
    m_btnFullScreen->setText(QStringLiteral("复原"));
}

void CQuvoDlg::LeaveFullScreen() {
    RestoreDisplayMode();
    m_fullScreenActive = 0;
    m_btnFullScreen->setText(QStringLiteral("全屏"));
    setFixedSize(kWidth, kHeight);
    setGeometry(0, 0, kWidth, kHeight);
    if (screen()) {
        move(screen()->geometry().center() - rect().center());
    }
}

// The mode read on entering full screen goes back (a mode never read changes nothing).
void CQuvoDlg::RestoreDisplayMode() {
    if (m_savedMode.handle >= 0) {
        quvo::DisplayModes::Default().Restore(m_savedMode);
    }
}

// SIGTERM or SIGINT: the screen gets its mode back and the learner's settings are saved, as
// when the program is left by its own buttons, but without the closing credits.
void CQuvoDlg::OnTerminationSignal() {
    m_endedBySignal = true;
    // A window waiting for an answer (the start-up help, a question, a file chooser) runs a
    // loop of its own that would keep the program alive: it is cancelled first.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog != nullptr && dialog != this && dialog->isVisible()) {
            dialog->reject();
        }
    }
    ExitRoutine();
}

// A learner without progress is greeted with the help, once.
void CQuvoDlg::ShowStartHelp() {
    CStartHelp help(this);
    quvo::RunModal(help);
}

// The credits, once the dialog has hidden itself; the settings are already saved, so however
// they end (a click, the desktop closing them), nothing is lost.
void CQuvoDlg::ShowClosingDialog() {
    CDisplay credits;
    quvo::RunModal(credits);
}
