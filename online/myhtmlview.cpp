#include "online/myhtmlview.h"

#include <QCoreApplication>
#include <QDir>
#include <QResizeEvent>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool g_engineEnabled = true;

}  // namespace

CMyHtmlView::CMyHtmlView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("QUVOHTML"));
    setWindowTitle(QStringLiteral("QUVOHTML"));
    setProperty("controlId", kControlId);
    if (!g_engineEnabled) {
        return;
    }
    m_engine = new QWebEngineView(this);
    m_engine->setContextMenuPolicy(Qt::NoContextMenu);
    QWebEngineSettings* settings = m_engine->settings();
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    connect(m_engine->page(), &QWebEnginePage::loadingChanged, this, &CMyHtmlView::OnLoadingChanged);
}

CMyHtmlView::~CMyHtmlView() = default;

QUrl CMyHtmlView::LocalStartPage() const {
    return QUrl::fromLocalFile(QDir(QString::fromStdString(m_localFolder)).filePath(QStringLiteral("first.htm")));
}

void CMyHtmlView::NavigateTo(const QUrl& address) {
    m_navigations.push_back(address);
    if (m_engine != nullptr) {
        m_engine->load(address);
    }
}

void CMyHtmlView::SetEngineEnabled(bool enabled) { g_engineEnabled = enabled; }

bool CMyHtmlView::EngineEnabled() { return g_engineEnabled; }

quvo::LoadFailure CMyHtmlView::ClassifyLoad(const QWebEngineLoadingInfo& info) {
    using quvo::LoadFailure;
    if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus) {
        return info.status() == QWebEngineLoadingInfo::LoadStoppedStatus ? LoadFailure::kReplaced
                                                                         : LoadFailure::kNone;
    }
    switch (info.errorDomain()) {
    case QWebEngineLoadingInfo::ConnectionErrorDomain:
    case QWebEngineLoadingInfo::DnsErrorDomain:
        return LoadFailure::kUnreachable;
    case QWebEngineLoadingInfo::HttpStatusCodeDomain:
        return info.errorCode() == 404 ? LoadFailure::kNotFound : LoadFailure::kOther;
    case QWebEngineLoadingInfo::InternalErrorDomain:
        // Chromium's ERR_ABORTED: the load gave way to a newer one.
        return info.errorCode() == -3 ? LoadFailure::kReplaced : LoadFailure::kOther;
    default:
        return LoadFailure::kOther;
    }
}

void CMyHtmlView::OnLoadingChanged(const QWebEngineLoadingInfo& info) {
    const quvo::LoadFailure failure = ClassifyLoad(info);
    const bool local = info.url().isLocalFile() &&
                       info.url().toLocalFile() == LocalStartPage().toLocalFile();
    if (quvo::ShowsLocalStartPage(failure, local)) {
        NavigateTo(LocalStartPage());
    }
}

void CMyHtmlView::resizeEvent(QResizeEvent* event) {
    if (m_engine != nullptr) {
        m_engine->setGeometry(0, 0, event->size().width(), event->size().height());
    }
    QWidget::resizeEvent(event);
}

namespace quvo {

void PrepareWebEngine() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0 && std::getenv("QTWEBENGINE_DISABLE_SANDBOX") == nullptr) {
        setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
        std::fputs("quvo: running as root: the web panel's sandbox is turned off\n", stderr);
    }
}

}  // namespace quvo
