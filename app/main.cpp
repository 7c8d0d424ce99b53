#include <QApplication>

#include <string>
#include <vector>

#include "app/quvoapp.h"
#include "online/loadhtmlthread.h"
#include "online/webpanel.h"
#include "sheets/sheetcommand.h"
#include "sheets/sheetmain.h"

int main(int argc, char* argv[]) {
    if (quvo::IsSheetCommand(std::vector<std::string>(argv + 1, argv + argc))) {
        return quvo::RunSheetCommand(argc, argv);
    }
#ifndef QUVO_UPDATE_CHECK
    // A build for a distribution package: the package manager brings new versions.
    CLoadHtmlThread::AllowUpdateCheck(false);
#endif
    quvo::PrepareWebEngine();
    QApplication application(argc, argv);
    CQuvoApp app;
    app.InitInstance();
    return 0;
}
