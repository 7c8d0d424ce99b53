// The exit routine and the dialog's settings and progress files.
#include <QCloseEvent>
#include <QPushButton>

#include "app/quvodlg.h"
#include "chardata/gbk.h"
#include "controls/messagebox.h"
#include "controls/mybutton.h"
#include "online/webpanel.h"
#include "res/stringtable.h"
#include "settings/progressfile.h"

// Saves what the learner set and reached, stops everything and ends the dialog. Every route
// out (the exit button, the close button, a close request) comes here, and only the first
// arrival does anything.
void CQuvoDlg::ExitRoutine() {
    if (m_exitStarted) {
        return;
    }
    m_exitStarted = true;
    ++m_exitRuns;
    m_running = 0;
    StopUpdate();
    WriteSettingsAndProgress();
    for (int id : {kHintTimer, kFlashTimer, kDemoTimer}) {
        KillTimer(id);
    }
    ReleaseCharacter();
    StopPageServer();
    if (m_backgroundMusicOn) {
        StopBackgroundMusic();
    }
    if (m_fullScreenActive) {
        RestoreDisplayMode();
    }
    hide();
    if (!m_endedBySignal) {
        ShowClosingDialog();
    }
    m_background = QPixmap();
    done(1);
}

// Everything that belongs to the current character and to the layout.
void CQuvoDlg::ReleaseCharacter() {
    FreeCharacter();
    for (CMyButton* button : m_charButtons) {
        m_controls.erase(3000 + button->Index());
        delete button;
    }
    m_charButtons.clear();
    m_controls.erase(quvo::WebPanel::kControlId);
    delete m_webView;
    m_webView = nullptr;
    m_webPanelDue = false;
}

void CQuvoDlg::closeEvent(QCloseEvent* event) {
    ExitRoutine();
    event->accept();
}

// Escape must never end the dialog; only the exit routine does.
void CQuvoDlg::reject() {}

// A data file of the program folder, as a local file name.
std::string CQuvoDlg::DataPath(const char* name) const {
    const std::string gbk = m_programFolder + "/" + name;
    return quvo::GbkToUtf8(gbk).value_or(std::string(name));
}

// The settings file is read by its bare name, that is from the current folder.
int CQuvoDlg::ReadSettings(quvo::SettingsBytes& buffer) const {
    return quvo::ReadSettingsFile(quvo::kSettingsFileName, buffer);
}

int CQuvoDlg::WriteSettingsAndProgress() {
    if (!quvo::WriteSettingsFile(DataPath(quvo::kSettingsFileName), SettingsFromDialog())) {
        quvo::ShowMessageBox(this, QStringLiteral("can't open zhe file"),
                             quvo::LoadResString(quvo::IDS_PRODUCT_TITLE));
        return -1;
    }
    SaveProgress(m_bookPath, m_textbookPosition);
    return 0;
}

// Books inside the program folder are kept by their path relative to it, which fits the
// record whatever the folder's length; a record of the whole path, from before, still counts.
int CQuvoDlg::LookUpProgress(const std::string& bookPath, int& position) const {
    const quvo::ProgressFile file(DataPath(quvo::kProgressFileName));
    for (const std::string& key : {quvo::StoredPath(m_programFolder, bookPath), bookPath}) {
        quvo::ProgressRecord query{key, 0};
        if (const int found = file.LookUp(query); found == 1 || key == bookPath) {
            position = found == 1 ? query.position : 0;
            return found;
        }
    }
    return -1;
}

int CQuvoDlg::SaveProgress(const std::string& bookPath, int position) const {
    quvo::ProgressFile file(DataPath(quvo::kProgressFileName));
    quvo::ProgressRecord whole{bookPath, 0};
    const std::string key = file.LookUp(whole) == 1 ? bookPath : quvo::StoredPath(m_programFolder, bookPath);
    return file.Save({key, position});
}
