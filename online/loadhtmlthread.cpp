#include "online/loadhtmlthread.h"

#include <cstdlib>
#include <cstring>

#include "app/usermessages.h"
#include "online/updateinfo.h"
#include "online/updatetransfer.h"

namespace {

std::atomic<bool> g_updateCheckAllowed{true};

}  // namespace

CLoadHtmlThread::CLoadHtmlThread(QObject* owner) : m_owner(owner) {}

CLoadHtmlThread::~CLoadHtmlThread() {
    Stop();
    wait();
}

void CLoadHtmlThread::SetServer(const std::string& host) {
    {
        std::lock_guard lock(m_mutex);
        m_server = host;
    }
    m_changed.notify_all();
}

void CLoadHtmlThread::Stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
}

void CLoadHtmlThread::AllowUpdateCheck(bool allowed) { g_updateCheckAllowed = allowed; }

bool CLoadHtmlThread::UpdateCheckEnabled() {
    const char* off = std::getenv("QUVO_NO_UPDATE_CHECK");
    return g_updateCheckAllowed && (off == nullptr || std::strcmp(off, "1") != 0);
}

void CLoadHtmlThread::run() {
    if (m_job == kJobUpdateCheck && UpdateCheckEnabled()) {
        CheckForUpdate();
    }
    m_jobDone = true;
    Idle();
}

std::optional<std::string> CLoadHtmlThread::WaitForServer() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_stop.load() || m_server.has_value(); });
    return m_stop.load() ? std::nullopt : m_server;
}

void CLoadHtmlThread::Idle() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_stop.load(); });
}

// Asks the server for its newest version; when it is newer than ours, hands the reply to the
// dialog and waits until the dialog has dealt with it. Every failure ends the check silently.
void CLoadHtmlThread::CheckForUpdate() {
    const std::optional<std::string> server = WaitForServer();
    if (!server) {
        return;
    }
    const std::optional<std::string> reply = quvo::RequestUpdateReply(*server, m_stop);
    if (!reply) {
        return;
    }
    const std::optional<quvo::UpdateInfo> info = quvo::ParseUpdateReply(*reply, quvo::TrimTags::kVersionAndUpdate);
    if (!info || !quvo::IsNewerVersion(info->ver, m_version)) {
        return;
    }
    auto offer = std::make_unique<quvo::UserMessageEvent>(quvo::kUpdateOffer);
    const std::string text = quvo::NormalisedReply(*info);
    offer->text = QByteArray(text.data(), static_cast<qsizetype>(text.size()));
    quvo::SendUserMessageAcrossThreads(m_owner, std::move(offer), m_stop);
}
