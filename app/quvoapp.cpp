#include "app/quvoapp.h"

#include "app/kaifont.h"
#include "app/qttranslations.h"
#include "app/signalexit.h"
#include "app/quvodlg.h"
#include "controls/messagebox.h"
#include "online/netlibrary.h"
#include "res/stringtable.h"

CQuvoApp::CQuvoApp(ServiceStarter startNetwork) : m_startNetwork(std::move(startNetwork)) {}

CQuvoApp::CQuvoApp() : CQuvoApp(quvo::StartNetworkLibrary) {}

bool CQuvoApp::InitInstance() {
    if (!m_startNetwork()) {
        quvo::ShowMessageBox(nullptr, quvo::LoadResString(quvo::IDS_SOCKETS_INIT_FAILED),
                             quvo::LoadResString(quvo::IDS_PRODUCT_TITLE));
        return false;
    }
    quvo::RegisterKaiFont(QStringLiteral("fonts/quvokai.ttf"));
    quvo::InstallQtTranslations();
    CQuvoDlg dlg;
    m_mainWindow = &dlg;
    const quvo::SignalExit signalExit([&dlg] { dlg.OnTerminationSignal(); });
    dlg.DoModal();
    m_mainWindow = nullptr;
    return false;
}
