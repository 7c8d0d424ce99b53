// The update offer: the worker's reply, the question to the user, the download of the updater
// with its progress, and the hand-over to it.
#include <QDir>
#include <QEventLoop>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>

#include <algorithm>
#include <optional>
#include <thread>
#include <utility>

#include "app/quvodlg.h"
#include "app/usermessages.h"
#include "chardata/gbk.h"
#include "controls/messagebox.h"
#include "online/loadhtmlthread.h"
#include "online/updateinfo.h"
#include "online/updatetransfer.h"
#include "res/stringtable.h"

namespace {

// What the updater expects as its one argument: started by the program, not by hand.
constexpr char kHandOverArgument[] = "168";

// The download's progress dialog. Setting the value of a modal progress dialog lets the event
// loop run, so a step may arrive while another is shown: it is then shown right after, and
// only the newest of such steps, so the texts keep their order.
class UpdateProgress : public QProgressDialog {
public:
    explicit UpdateProgress(QWidget* parent) : QProgressDialog(QString(), QStringLiteral("取消"), 0, 0, parent) {
        setWindowTitle(quvo::LoadResString(quvo::IDS_PRODUCT_TITLE));
        setWindowModality(Qt::WindowModal);
        setAutoClose(false);
        setAutoReset(false);
        setMinimumDuration(0);
        setMinimumWidth(360);
    }

    void Show(int stage, const QString& text, int kilobytes, int totalKilobytes) {
        m_latest = Step{stage, text, kilobytes, totalKilobytes};
        if (m_showing) {
            return;
        }
        m_showing = true;
        while (m_latest) {
            const Step step = *std::exchange(m_latest, std::nullopt);
            setLabelText(step.text);
            if (step.stage == quvo::kStageTransferred && step.total > 0) {
                setMaximum(step.total);
                setValue(std::min(step.kilobytes, step.total));
            }
        }
        m_showing = false;
    }

private:
    struct Step {
        int stage;
        QString text;
        int kilobytes;
        int total;
    };
    std::optional<Step> m_latest;
    bool m_showing = false;
};

}  // namespace

// The worker asks for the update check once the dialog knows its server.
void CQuvoDlg::StartUpdateCheck() {
    if (m_updateWorker != nullptr) {
        m_updateWorker->SetServer(m_serverHost);
    }
}

// The worker's request and a running download end with the program.
void CQuvoDlg::StopUpdate() {
    if (m_updateWorker != nullptr) {
        m_updateWorker->Stop();
    }
    if (m_downloadStop != nullptr) {
        *m_downloadStop = true;
    }
}

void CQuvoDlg::OnUpdateOffer(quvo::UserMessageEvent& event) {
    event.result = OnUpdateReply(event.text.toStdString());
}

// The newer version is offered to the user; if they want it, the updater is downloaded and
// started, and the program ends for it. 1 when the updater was started.
int CQuvoDlg::OnUpdateReply(const std::string& reply) {
    const std::optional<quvo::UpdateInfo> info = quvo::ParseUpdateReply(reply, quvo::TrimTags::kAll);
    if (!info || !quvo::IsNewerVersion(info->ver, m_version) || m_exitStarted) {
        return 0;
    }
    if (quvo::AskYesNo(this, QStringLiteral("有新版本，你要下载吗"), QStringLiteral("提示")) != QMessageBox::Yes) {
        return 0;
    }
    const QString product = quvo::LoadResString(quvo::IDS_PRODUCT_TITLE);
    const DownloadOutcome outcome = DownloadUpdate(quvo::RemoteFile(*info), *info);
    if (outcome != DownloadOutcome::kDone) {
        if (outcome == DownloadOutcome::kFailed) {
            quvo::ShowMessageBox(this, QStringLiteral("下载更新程序失败"), product);
        }
        return 0;
    }
    if (!StartUpdater()) {
        quvo::ShowMessageBox(this, QStringLiteral("启动升级程序失败"), product);
        return 0;
    }
    close();  // as when the user closes the program
    return 1;
}

QString CQuvoDlg::ProgramFolderPath() const {
    return QDir(QString::fromStdString(quvo::GbkToUtf8(m_programFolder).value_or(m_programFolder))).absolutePath();
}

bool CQuvoDlg::StartUpdater() {
    const QString folder = ProgramFolderPath();
    return QProcess::startDetached(QDir(folder).absoluteFilePath(QString::fromLatin1(quvo::kUpdaterName)),
                                   {QString::fromLatin1(kHandOverArgument)}, folder);
}

// Downloads the updater on a thread of its own while the progress dialog shows how far it
// has come; Cancel, or the end of the program, stops it.
CQuvoDlg::DownloadOutcome CQuvoDlg::DownloadUpdate(const std::string& remoteFile, const quvo::UpdateInfo& info) {
    UpdateProgress progress(this);
    m_downloadProgress = &progress;
    std::atomic<bool> stop{false};
    m_downloadStop = &stop;
    connect(&progress, &QProgressDialog::canceled, this, [&stop] { stop = true; });

    const quvo::DownloadRequest request{info.web, info.username, info.password, remoteFile, info.sha256,
                                        ProgramFolderPath().toStdString()};
    QEventLoop loop;
    bool done = false;
    std::thread transfer([&] {
        done = quvo::DownloadUpdate(request, [this](const quvo::DownloadProgress& step) { ReportDownload(step); }, stop);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    progress.show();
    loop.exec();
    transfer.join();
    m_downloadProgress = nullptr;
    m_downloadStop = nullptr;
    if (done) {
        return DownloadOutcome::kDone;
    }
    return stop.load() ? DownloadOutcome::kStopped : DownloadOutcome::kFailed;
}

// From the download's thread: each step goes to the dialog as message +19.
void CQuvoDlg::ReportDownload(const quvo::DownloadProgress& step) {
    auto* event = new quvo::UserMessageEvent(quvo::kDownloadProgress, step.stage);
    event->text = QByteArray::fromStdString(step.text);
    event->point = QPoint(static_cast<int>(step.kilobytes), static_cast<int>(step.totalKilobytes));
    quvo::PostUserMessage(this, event);
}

// The progress texts of the download, shown in its progress dialog.
void CQuvoDlg::OnDownloadProgress(const quvo::UserMessageEvent& event) {
    if (m_downloadProgress == nullptr) {
        return;
    }
    static_cast<UpdateProgress*>(m_downloadProgress)
        ->Show(static_cast<int>(event.wParam()), QString::fromUtf8(event.text), event.point.x(), event.point.y());
}
