#include <QApplication>

#include "app/quvoapp.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CQuvoApp app;
    app.InitInstance();
    return 0;
}
