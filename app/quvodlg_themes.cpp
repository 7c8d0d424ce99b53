// The picture behind the dialog and the background music: the two pop-up menus of "换背景"
// and "换音乐", their ten built-in choices and "其他" with a file dialog.
#include <QMenu>

#include "app/quvodlg.h"
#include "chardata/gbk.h"
#include "controls/buttonst.h"
#include "controls/filedialog.h"
#include "controls/mybutton.h"
#include "controls/myslidercontrol.h"

namespace {

// Command ids of the menus, in menu order; the last of each is "其他".
constexpr int kThemeCommands[] = {32780, 32781, 32812, 32813, 32814, 32815,
                                  32816, 32817, 32818, 32819, 32786};
constexpr int kMusicCommands[] = {32787, 32784, 32804, 32805, 32806, 32807,
                                  32808, 32809, 32810, 32811, 32785};
constexpr int kChoices = 10;

// The index of `id` in `commands`, -1 when it is not there.
template <std::size_t N>
int IndexOf(const int (&commands)[N], int id) {
    for (std::size_t i = 0; i < N; ++i) {
        if (commands[i] == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

// A fresh menu each time: "主题1".."主题10" (or "音乐1".."音乐10") and "其他", each action
// carrying its command id.
QMenu* CQuvoDlg::BuildChoiceMenu(bool themes) {
    auto* menu = new QMenu(this);
    const int* commands = themes ? kThemeCommands : kMusicCommands;
    for (int i = 0; i <= kChoices; ++i) {
        const QString caption = i == kChoices ? QStringLiteral("其他")
                                              : (themes ? QStringLiteral("主题%1") : QStringLiteral("音乐%1")).arg(i + 1);
        menu->addAction(caption)->setData(commands[i]);
    }
    return menu;
}

// The menu opens with its top-left corner at the button's top-right corner; the chosen
// entry arrives as a command.
void CQuvoDlg::ShowChoiceMenu(CButtonST* button, bool themes) {
    QMenu* menu = BuildChoiceMenu(themes);
    const QAction* chosen = menu->exec(button->mapToGlobal(QPoint(button->width(), 0)));
    const int command = chosen ? chosen->data().toInt() : 0;
    delete menu;
    if (command != 0) {
        OnMenuCommand(command);
    }
}

void CQuvoDlg::OnMenuCommand(int command) {
    if (const int theme = IndexOf(kThemeCommands, command); theme >= 0) {
        if (theme < kChoices) {
            ChangeTheme(m_programFolder + "/theme/charming" + std::to_string(theme + 1) + ".bmp");
        } else {
            ChooseOtherFile(true);
        }
    } else if (const int music = IndexOf(kMusicCommands, command); music >= 0) {
        if (music < kChoices) {
            ChangeMusic(m_programFolder + "/bmusic/start" + std::to_string(music + 1) + ".mp3");
        } else {
            ChooseOtherFile(false);
        }
    }
}

// "其他": a BMP picture from the theme folder or an mp3 from the music folder, or nothing.
void CQuvoDlg::ChooseOtherFile(bool theme) {
    const QString chosen = quvo::GetOpenFileName(
        this, QString::fromStdString(DataPath(theme ? "theme" : "bmusic")),
        theme ? QStringLiteral("BMP文件(*.BMP *.bmp)") : QStringLiteral("mp3文件(*.mp3 *.MP3)"));
    const auto path = quvo::Utf8ToGbk(chosen.toStdString());
    if (chosen.isEmpty() || !path) {
        return;
    }
    theme ? ChangeTheme(*path) : ChangeMusic(*path);
}

// `path` is GBK, as the settings keep it. The old picture goes first; one that cannot be
// loaded leaves the plain background. Every
// control that keeps a copy of the picture behind it takes a new one at its next paint.
void CQuvoDlg::ChangeTheme(const std::string& path) {
    m_themePath = path;
    m_background = QPixmap();
    m_backgroundImage = QImage();
    LoadBackgroundPicture(m_themePath);
    for (const quvo::Rect* panel : {&m_panels.pieces, &m_panels.sample, &m_panels.practice,
                                    &m_panels.bottom, &m_panels.control, &m_panels.title}) {
        InvalidatePanel(*panel);
    }
    if (m_webView == nullptr) {
        InvalidatePanel(m_panels.web);  // no page covers it
    }
    // The buttons draw their copy of the picture over the dialog's own drawing, so the
    // dialog's repaint does not reach them: each is asked for a repaint of its own.
    for (CButtonST* button : {m_btnBackground, m_btnMusic, m_btnExit, m_btnHelp, m_btnDemo,
                              m_btnChooseBook, m_btnPrevious, m_btnMinimise, m_btnClose, m_btnNext,
                              m_btnAssemble, m_btnFullScreen}) {
        button->ResetBackground(true);
    }
    m_speedSlider->ResetBackground(true);
    for (CMyButton* button : m_charButtons) {
        button->ResetBackground(true);
    }
}

// Playing music switches to the new tune at once; music that is off only remembers it.
void CQuvoDlg::ChangeMusic(const std::string& path) {
    m_musicPath = path;
    if (m_musicPlayer.IsOpen()) {
        StartMusicPlayer();
    }
}
