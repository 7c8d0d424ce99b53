// The option boxes, the demonstration mode and the speed slider of the control panel. Each
// handler sets its box from its member, so that box and member always agree.
#include <QAbstractButton>
#include <QLabel>

#include <cstdlib>
#include <ctime>

#include "app/quvodlg.h"
#include "controls/myslidercontrol.h"

void CQuvoDlg::ConnectOptionBoxes() {
    auto onClick = [this](int id, auto handler) {
        connect(qobject_cast<QAbstractButton*>(GetDlgItem(id)), &QAbstractButton::clicked, this, handler);
    };
    onClick(1001, [this] { ToggleOption(m_showSample, 1001, &m_panels.sample); });
    onClick(1002, [this] { ToggleOption(m_showGrid, 1002, &m_panels.practice); });
    onClick(1003, [this] { ToggleOption(m_showUnderlay, 1003, &m_panels.practice); });
    onClick(1009, [this] { ToggleOption(m_demoBeforeAssembling, 1009, nullptr); });
    onClick(1028, [this] { OnPinyinBox(); });
    onClick(1011, [this] { OnStrokeCheckBox(); });
    onClick(1012, [this] { OnHintsBox(); });
    onClick(1013, [this] { OnBackgroundMusicBox(); });
    onClick(1041, [this] { m_demoMode = 0; });
    onClick(1042, [this] { m_demoMode = 1; });
    connect(m_speedSlider, &CMySliderControl::released, this, &CQuvoDlg::OnSpeedReleased);
    connect(m_speedSlider, &QSlider::valueChanged, this, &CQuvoDlg::ShowSpeed);
}

// "演示速度:1.00秒": the slider's position in seconds.
void CQuvoDlg::ShowSpeed(int position) {
    qobject_cast<QLabel*>(GetDlgItem(1036))
        ->setText(QStringLiteral("演示速度:%1秒").arg(position / 1000.0, 0, 'f', 2));
}

// 0 becomes 1 and 1 becomes 0; any other value is left as it is.
void CQuvoDlg::ToggleOption(int& member, int id, const quvo::Rect* panel) {
    if (member == 0 || member == 1) {
        member = 1 - member;
    }
    CheckDlgButton(id, member == 1);
    if (panel) {
        InvalidatePanel(*panel);
    }
}

void CQuvoDlg::OnPinyinBox() {
    m_showPinyin = m_showPinyin == 1 ? 0 : 1;
    CheckDlgButton(1028, m_showPinyin == 1);
    InvalidatePanel(m_panels.title);
}

// Checking stroke by stroke silences the music: the cues would be lost in it. Switching the
// check off leaves the music off; the child switches it on again with its own box.
void CQuvoDlg::OnStrokeCheckBox() {
    if (m_strokeCheck == 0) {
        CheckDlgButton(1011, true);
        m_strokeCheck = 1;
        StopBackgroundMusic();
        m_backgroundMusicOn = 0;
        CheckDlgButton(1013, false);
    } else {
        CheckDlgButton(1011, false);
        m_strokeCheck = 0;
    }
}

void CQuvoDlg::OnHintsBox() {
    if (m_hints == 0) {
        CheckDlgButton(1012, true);
        m_hints = 1;
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        SetTimer(kHintTimer, 100);
    } else {
        CheckDlgButton(1012, false);
        m_hints = 0;
        KillTimer(kHintTimer);
    }
}

// Music on switches the stroke-by-stroke check off, and with it any cue still sounding.
void CQuvoDlg::OnBackgroundMusicBox() {
    if (m_backgroundMusicOn == 1) {
        m_backgroundMusicOn = 0;
        CheckDlgButton(1013, false);
        if (m_musicPlayer.IsOpen()) {
            StopBackgroundMusic();
        }
        return;
    }
    m_backgroundMusicOn = 1;
    CheckDlgButton(1013, true);
    if (!m_musicPlayer.IsOpen()) {
        StartMusicPlayer();
    }
    CheckDlgButton(1011, false);
    m_strokeCheck = 0;
    if (m_cuePlayer.IsOpen()) {
        m_cuePlayer.Stop();
        m_cuePlayer.Close();
    }
}

// Whenever the user lets go of the slider. A running demonstration keeps its period; the new
// speed paces the next fills and starts.
void CQuvoDlg::OnSpeedReleased() { m_demoSpeed = m_speedSlider->value(); }
