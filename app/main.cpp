#include <QApplication>

#include "app/quvoapp.h"
#include "online/loadhtmlthread.h"
#include "online/webpanel.h"

int main(int argc, char* argv[]) {
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
