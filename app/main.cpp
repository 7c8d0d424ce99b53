#include <QApplication>

#include "app/quvoapp.h"
#include "online/webpanel.h"

int main(int argc, char* argv[]) {
    quvo::PrepareWebEngine();
    QApplication application(argc, argv);
    CQuvoApp app;
    app.InitInstance();
    return 0;
}
