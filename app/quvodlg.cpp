// Construction, window creation and the small window services of the main dialog.
#include "app/quvodlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QTimer>

#include "chardata/gbk.h"
#include "online/loadhtmlthread.h"
#include "settings/settingsrecord.h"

namespace {

constexpr int kTimerIds[] = {CQuvoDlg::kHintTimer, CQuvoDlg::kFlashTimer, CQuvoDlg::kDemoTimer};

}  // namespace

CQuvoDlg::CQuvoDlg(QWidget* parent) : QDialog(parent), m_version("6.0") {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
    // paintEvent covers every pixel itself: no fill with the window colour first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);  // a carried piece follows the mouse without a held button
    m_mainIcon.addFile(QStringLiteral(":/icons/icon138.png"));
    m_mainIcon.addFile(QStringLiteral(":/icons/icon138_256.png"));
    for (int id : kTimerIds) {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, id] { OnTimer(id); });
        m_timers[id] = timer;
    }
}

CQuvoDlg::~CQuvoDlg() {
    qApp->removeEventFilter(this);
    delete m_updateWorker;
}

// Window creation: the program folder is where the program was started, and the update
// worker starts at once.
int CQuvoDlg::OnCreate() {
    m_programFolder = CurrentFolderAsProgramFolder();
    StartUpdateWorker();
    return 0;
}

// The folder must fit its 128-byte fields with everything the program appends to it later
// being relative to it anyway; a current folder that does not fit (or cannot be written in
// GBK) is therefore named by ".", which reaches the same files.
std::string CQuvoDlg::CurrentFolderAsProgramFolder() {
    const auto gbk = quvo::Utf8ToGbk(QDir::currentPath().toStdString());
    if (!gbk || gbk->empty() || gbk->size() >= quvo::kPathFieldSize) {
        return ".";
    }
    return *gbk;
}

void CQuvoDlg::StartUpdateWorker() {
    m_updateWorker = new CLoadHtmlThread(this);
    m_updateWorker->SetJob(CLoadHtmlThread::kJobUpdateCheck);
    m_updateWorker->SetVersion(m_version);
    m_updateWorker->start();
}

int CQuvoDlg::DoModal() {
    if (OnCreate() != 0) {
        return -1;
    }
    OnInitDialog();
    if (m_exitStarted) {
        return result();  // ended during initialisation
    }
    return exec();
}

QWidget* CQuvoDlg::GetDlgItem(int id) const {
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

bool CQuvoDlg::IsDlgButtonChecked(int id) const {
    const auto* button = qobject_cast<const QAbstractButton*>(GetDlgItem(id));
    return button != nullptr && button->isChecked();
}

void CQuvoDlg::CheckDlgButton(int id, bool checked) {
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id))) {
        button->setChecked(checked);
    }
}

void CQuvoDlg::SetTimer(int id, int periodMs) {
    const auto it = m_timers.find(id);
    if (it != m_timers.end()) {
        it->second->start(periodMs);
    }
}

void CQuvoDlg::KillTimer(int id) {
    const auto it = m_timers.find(id);
    if (it != m_timers.end()) {
        it->second->stop();
    }
}

bool CQuvoDlg::IsTimerRunning(int id) const {
    const auto it = m_timers.find(id);
    return it != m_timers.end() && it->second->isActive();
}

void CQuvoDlg::OnTimer(int id) {
    switch (id) {
    case kHintTimer:
        OnHintTimer();
        break;
    case kFlashTimer:
        OnFlashTimer();
        break;
    case kDemoTimer:
        OnDemoTimer();
        break;
    default:
        break;
    }
}
