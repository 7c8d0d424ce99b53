#include <QApplication>

#include <string>
#include <vector>

#include "app/quvoapp.h"
#include "online/webpanel.h"
#include "sheets/sheetcommand.h"
#include "sheets/sheetmain.h"

int main(int argc, char* argv[]) {
    if (quvo::IsSheetCommand(std::vector<std::string>(argv + 1, argv + argc))) {
        return quvo::RunSheetCommand(argc, argv);
    }
    quvo::PrepareWebEngine();
    QApplication application(argc, argv);
    CQuvoApp app;
    app.InitInstance();
    return 0;
}
