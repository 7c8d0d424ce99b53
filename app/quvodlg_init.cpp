// Initialisation of the main dialog: settings, window, textbook progress and the first
// character, in the order the rest of the program relies on.
#include <QApplication>
#include <QPushButton>
#include <QSlider>

#include "app/quvodlg.h"
#include "app/usermessages.h"
#include "controls/animatedcursor.h"
#include "controls/mybutton.h"
#include "controls/myslidercontrol.h"
#include "chardata/gbk.h"
#include "res/stringtable.h"

namespace {

// The eight option check boxes in the order of the settings record's switches.
constexpr int kOptionBoxes[] = {1003, 1001, 1002, 1012, 1011, 1009, 1013, 1028};

}  // namespace

bool CQuvoDlg::OnInitDialog() {
    CreateControls();
    qApp->installEventFilter(this);
    setWindowIcon(m_mainIcon);
    LoadCursors();
    m_tipIcon = QIcon(QStringLiteral(":/icons/icon182.png"));
    CreateInfoTip();
    m_backgroundMusicOn = 1;
    const bool settingsFound = LoadSettings();
    CheckDlgButton(m_demoMode == 1 ? 1042 : 1041, true);
    LoadBackgroundPicture(m_themePath);
    m_running = 1;
    setGeometry(0, 0, kWidth, kHeight);
    setFixedSize(kWidth, kHeight);
    m_fullScreenActive = 0;
    m_charButtonCount = 5;
    LookUpStartProgress(settingsFound ? m_bookPath : std::string());
    LayOutDialog(kWidth, kHeight);
    CreateWebView();
    SetAssembleButtonCaption();
    StartBackgroundMusic();
    SetUpCharacter(StartCharacter().c_str());
    if (m_exitStarted) {
        return true;  // the character store could not be opened
    }
    setWindowTitle(quvo::LoadResString(quvo::IDS_PRODUCT_TITLE));
    HideNavigationCaptions();
    PostUserMessage(this, new quvo::UserMessageEvent(quvo::kInitialised));
    if (m_hints) {
        SetTimer(kHintTimer, 100);
    }
    SetSliderRange();
    ScheduleHeapTrim();  // the picture's decoding and the first outlines are freed by now
    return true;
}

// The three animated cursors; one that cannot be loaded stays empty.
void CQuvoDlg::LoadCursors() {
    m_cursorNormal = LoadAnimatedCursor("cur/normal.ani");
    m_cursorMove = LoadAnimatedCursor("cur/move.ani");
    m_cursorOn = LoadAnimatedCursor("cur/on.ani");
    SetDialogCursor(m_cursorNormal);  // the hand when the file could not be read
}

// The first frame of an animated cursor file of the program folder; the shared animator
// plays the rest wherever the cursor is set. None for a missing or damaged file.
std::optional<QCursor> CQuvoDlg::LoadAnimatedCursor(const char* fileName) const {
    quvo::CursorAnimation animation;
    if (!quvo::LoadCursorFile(fileName, animation)) {
        return std::nullopt;
    }
    return quvo::CursorAnimator::Instance().Adopt(animation);
}

// The first character button's character when the textbook's page was found, else 高.
std::string CQuvoDlg::StartCharacter() const {
    if (m_progressFound == 1 && !m_charButtons.empty()) {
        const std::string first = m_charButtons.front()->Character();
        if (first.size() == 2) {
            return first;
        }
    }
    return "\xB8\xDF";  // 高 in GBK
}

// Reads the settings file, or takes the first-run defaults when there is none. True when the
// file was there.
bool CQuvoDlg::LoadSettings() {
    quvo::SettingsBytes buffer{};
    const bool found = ReadSettings(buffer) != -1;
    if (found) {
        ApplySettings(quvo::LoadedPaths(m_programFolder, quvo::ValidatedSettings(quvo::DecodeSettings(buffer))));
    } else {
        ApplySettings(quvo::DefaultSettings(m_programFolder));
    }
    CheckOptionBoxes();
    return found;
}

void CQuvoDlg::ApplySettings(const quvo::SettingsRecord& record) {
    m_showUnderlay = record.showUnderlay;
    m_showSample = record.showSample;
    m_showGrid = record.showGrid;
    m_hints = static_cast<std::uint8_t>(record.hints);
    m_strokeCheck = static_cast<std::uint8_t>(record.strokeCheck);
    m_demoBeforeAssembling = record.demoBeforeAssembling;
    m_backgroundMusicOn = record.backgroundMusic;
    m_showPinyin = record.showPinyin;
    m_themePath = record.themePath;
    m_musicPath = record.musicPath;
    m_rightCuePath = record.rightCuePath;
    m_errorCuePath = record.errorCuePath;
    m_bookPath = record.bookPath;
    m_demoSpeed = record.demoSpeed;
    m_demoMode = record.demoMode;
}

void CQuvoDlg::CheckOptionBoxes() {
    const int values[] = {m_showUnderlay,         m_showSample,        m_showGrid, m_hints,
                          m_strokeCheck,          m_demoBeforeAssembling, m_backgroundMusicOn,
                          m_showPinyin};
    for (std::size_t i = 0; i < std::size(kOptionBoxes); ++i) {
        CheckDlgButton(kOptionBoxes[i], values[i] == 1);
    }
}

// The saved page of the start textbook; page 0 when the book has no progress record. Without
// a settings file there is no book to look up (a first run), so nothing is found.
void CQuvoDlg::LookUpStartProgress(const std::string& bookPath) {
    int position = 0;
    m_progressFound = bookPath.empty() ? -1 : LookUpProgress(bookPath, position);
    m_textbookPosition = m_progressFound == 1 ? position : 0;
}

void CQuvoDlg::SetSliderRange() {
    m_speedSlider->blockSignals(true);
    m_speedSlider->setRange(quvo::kMinDemoSpeed, quvo::kMaxDemoSpeed);
    m_speedSlider->setValue(m_demoSpeed);
    m_speedSlider->setSingleStep(100);
    m_speedSlider->setPageStep(500);
    m_speedSlider->blockSignals(false);
    ShowSpeed(m_speedSlider->value());
    m_speedSlider->update();
}

quvo::SettingsRecord CQuvoDlg::SettingsFromDialog() const {
    quvo::SettingsRecord record;
    std::int32_t* switches[] = {&record.showUnderlay, &record.showSample,  &record.showGrid,
                                &record.hints,        &record.strokeCheck, &record.demoBeforeAssembling,
                                &record.backgroundMusic, &record.showPinyin};
    for (std::size_t i = 0; i < std::size(kOptionBoxes); ++i) {
        *switches[i] = IsDlgButtonChecked(kOptionBoxes[i]) ? 1 : 0;
    }
    record.themePath = m_themePath;
    record.musicPath = m_musicPath;
    record.rightCuePath = m_rightCuePath;
    record.errorCuePath = m_errorCuePath;
    record.bookPath = m_bookPath;
    record.demoSpeed = m_demoSpeed;
    record.demoMode = m_demoMode;
    return quvo::StoredPaths(m_programFolder, record);
}
