#include "online/myhtmlview.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QResizeEvent>
#include <QWebEngineDownloadRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>


CMyHtmlView::CMyHtmlView(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), m_owner(owner) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    owner->installEventFilter(this);
    setObjectName(QStringLiteral("QUVOHTML"));
    setWindowTitle(QStringLiteral("QUVOHTML"));
    setProperty("controlId", kControlId);
    m_engine = new QWebEngineView(this);
    m_engine->setContextMenuPolicy(Qt::NoContextMenu);
    QWebEngineSettings* settings = m_engine->settings();
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    connect(m_engine->page(), &QWebEnginePage::loadingChanged, this, &CMyHtmlView::OnLoadingChanged);
    // A file the panel cannot show (the learning record as CSV) is fetched by the desktop's
    // browser, which asks where to keep it.
    connect(m_engine->page()->profile(), &QWebEngineProfile::downloadRequested, this,
            [](QWebEngineDownloadRequest* download) {
                QDesktopServices::openUrl(download->url());
                download->cancel();
            });
}

CMyHtmlView::~CMyHtmlView() = default;

QUrl CMyHtmlView::LocalStartPage() const {
    return QUrl::fromLocalFile(QDir(QString::fromStdString(m_localFolder)).filePath(QStringLiteral("first.htm")));
}

void CMyHtmlView::Cover(const QRect& ownerRect) {
    m_covered = ownerRect;
    FollowOwner();
}

// Over the covered part of the owner, wherever the owner is; hidden while the owner is
// hidden or minimised.
void CMyHtmlView::FollowOwner() {
    setGeometry(QRect(m_owner->mapToGlobal(m_covered.topLeft()), m_covered.size()));
    setVisible(m_owner->isVisible() && !m_owner->isMinimized());
}

bool CMyHtmlView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_owner) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::WindowStateChange:
            FollowOwner();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CMyHtmlView::NavigateTo(const QUrl& address) {
    quvo::RememberNavigation(m_navigations, address);
    m_engine->load(address);
}

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
    m_engine->setGeometry(0, 0, event->size().width(), event->size().height());
    QWidget::resizeEvent(event);
}

// The library's entry point, found by the program when it loads the library.
extern "C" Q_DECL_EXPORT quvo::WebPanel* quvo_create_web_panel(QWidget* owner) {
    return new CMyHtmlView(owner);
}
