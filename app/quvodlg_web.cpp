// The web panel: the page server it reads from (the one configured, else the program's own),
// the panel itself, made once the dialog has painted so that the first character is not kept
// waiting, and the pages it is sent to.
#include <QDesktopServices>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/quvodlg.h"
#include "chardata/gbk.h"
#include "online/resultstore.h"
#include "online/serveraddress.h"
#include "online/webpanel.h"
#include "res/stringtable.h"

namespace {

QUrl AddressUrl(const std::string& address) { return QUrl(QString::fromStdString(address)); }

}  // namespace

void CQuvoDlg::CreateWebView() {
    StartPageServer();
    StartUpdateCheck();
    m_webPanelDue = true;
}

void CQuvoDlg::StartPageServer() {
    const std::optional<std::string> configured =
        quvo::ConfiguredServer(std::getenv("QUVO_SERVER"), DataPath("server.txt"));
    if (configured) {
        m_serverHost = *configured;
        return;
    }
    const QByteArray& table = PinyinTable();
    quvo::PageServerConfig config;
    config.programFolder = quvo::GbkToUtf8(m_programFolder).value_or(m_programFolder);
    config.pinyinTable.assign(table.constData(), static_cast<std::size_t>(table.size()));
    const std::string results = DataPath(quvo::kResultsFileName);
    config.resultsFile = quvo::GbkToUtf8(results).value_or(results);
    config.version = m_version;
    m_pageServer = std::make_unique<quvo::PageServer>(std::move(config));
    if (m_pageServer->Start("127.0.0.1", 0)) {
        m_serverHost = "127.0.0.1:" + std::to_string(m_pageServer->Port());
    } else {
        m_pageServer.reset();
        m_serverHost = "127.0.0.1";  // nothing answers: the panel shows its local start page
    }
}

void CQuvoDlg::StopPageServer() { m_pageServer.reset(); }

// The panel covers the web panel but for 4 pixels at the right and at the bottom, and is shown
// with the dialog. It shows the local start page, then the start page of the server; a page
// asked for meanwhile comes last.
void CQuvoDlg::CreateWebPanel() {
    if (m_webView != nullptr || m_exitStarted) {
        return;
    }
    m_webView = quvo::MakeWebPanel(this);
    m_webView->SetLocalFolder(quvo::GbkToUtf8(m_programFolder).value_or(m_programFolder));
    const quvo::Rect& web = m_panels.web;
    m_webView->Cover(QRect(web.left, web.top, web.Width() - 4, web.Height() - 4));
    m_controls[quvo::WebPanel::kControlId] = m_webView->Widget();
    const QUrl startPage = AddressUrl(quvo::StartPageAddress(
        m_serverHost, quvo::LoadResString(quvo::IDS_PRODUCT_TITLE).toStdString()));
    m_webView->NavigateTo(m_webView->LocalStartPage());
    m_webView->NavigateTo(startPage);
    m_webView->NavigateTo(startPage);
    if (!m_pendingWebPage.empty()) {
        m_webView->NavigateTo(AddressUrl(m_pendingWebPage));
        m_pendingWebPage.clear();
    }
    ReportStartupStamp("web panel made");
}

void CQuvoDlg::NavigateToCharacterPage(const char* character) {
    NavigateWebPanel(quvo::ServerPageAddress(m_serverHost, std::string("hanzi.asp?z=") + character));
}

void CQuvoDlg::NavigateToResultPage(const std::string& address) {
    NavigateWebPanel(quvo::ServerPageAddress(m_serverHost, address));
}

void CQuvoDlg::NavigateWebPanel(const std::string& address) {
    if (m_webView != nullptr) {
        m_webView->NavigateTo(AddressUrl(address));
    } else {
        m_pendingWebPage = address;
    }
}

// For start-up measurements: with QUVO_STARTUP_STAMP set, the wall-clock times of the end of
// the first paint and of the web panel's making go to standard error, to be set against the
// time the program was started.
void CQuvoDlg::ReportStartupStamp(const char* what) const {
    if (std::getenv("QUVO_STARTUP_STAMP") != nullptr) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::fprintf(stderr, "quvo: %s at %lld.%09ld\n", what, static_cast<long long>(now.tv_sec),
                     now.tv_nsec);
    }
}

void CQuvoDlg::OnHelp() {
    QDesktopServices::openUrl(AddressUrl(quvo::HelpPageAddress(m_serverHost)));
}
