#include "app/quvoapp.h"

#include <QFile>

#include "app/kaifont.h"
#include "app/qttranslations.h"
#include "app/signalexit.h"
#include "app/quvodlg.h"
#include "controls/messagebox.h"
#include "online/netlibrary.h"
#include "res/stringtable.h"
#include "settings/datafiles.h"

CQuvoApp::CQuvoApp(ServiceStarter startNetwork) : m_startNetwork(std::move(startNetwork)) {}

CQuvoApp::CQuvoApp() : CQuvoApp(quvo::StartNetworkLibrary) {}

bool CQuvoApp::InitInstance() {
    if (!m_startNetwork()) {
        quvo::ShowMessageBox(nullptr, quvo::LoadResString(quvo::IDS_SOCKETS_INIT_FAILED),
                             quvo::LoadResString(quvo::IDS_PRODUCT_TITLE));
        return false;
    }
    quvo::InstallQtTranslations();
    if (!ProgramFolderIsWhole()) {
        return false;
    }
    quvo::RegisterKaiFont(QStringLiteral("fonts/quvokai.ttf"));
    CQuvoDlg dlg;
    m_mainWindow = &dlg;
    const quvo::SignalExit signalExit([&dlg] { dlg.OnTerminationSignal(); });
    dlg.DoModal();
    m_mainWindow = nullptr;
    return false;
}

// A missing or damaged data file gets one message naming it, and no game at all: half a game
// (no stroke order, no pieces, no pinyin) would only puzzle a child.
bool CQuvoApp::ProgramFolderIsWhole() {
    QFile table(QStringLiteral(":/txt/pinyin.txt"));
    const QByteArray pinyin = table.open(QIODevice::ReadOnly) ? table.readAll() : QByteArray();
    const auto fault = quvo::CheckDataFiles(
        ".", std::string_view(pinyin.constData(), static_cast<std::size_t>(pinyin.size())));
    if (fault) {
        quvo::ShowMessageBox(nullptr, QString::fromStdString(quvo::DataFaultMessage(*fault)),
                             quvo::LoadResString(quvo::IDS_PRODUCT_TITLE));
    }
    return !fault;
}
