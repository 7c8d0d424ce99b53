#pragma once

#include <functional>

class CQuvoDlg;

// The application: prepares the process-wide services, then runs the main dialog modally.
// The program's whole life is that one dialog.
class CQuvoApp {
public:
    using ServiceStarter = std::function<bool()>;

    // startNetwork prepares the network library; tests hand in one that fails.
    explicit CQuvoApp(ServiceStarter startNetwork);
    CQuvoApp();

    // Always false: when it returns, the program ends.
    bool InitInstance();

    // The dialog while it runs, else null.
    CQuvoDlg* MainWindow() const { return m_mainWindow; }

private:
    static bool ProgramFolderIsWhole();

    ServiceStarter m_startNetwork;
    CQuvoDlg* m_mainWindow = nullptr;
};
