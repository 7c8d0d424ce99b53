#include "online/webpanel.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QWidget>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace quvo {
namespace {

bool g_engineEnabled = true;

// Stands in for the browser: keeps the addresses it is sent to, shows nothing.
class RecordingWebPanel : public QWidget, public WebPanel {
public:
    explicit RecordingWebPanel(QWidget* owner) : QWidget(owner) { hide(); }

    QWidget* Widget() override { return this; }
    void SetLocalFolder(const std::string& folder) override { m_folder = folder; }
    QUrl LocalStartPage() const override {
        return QUrl::fromLocalFile(QDir(QString::fromStdString(m_folder)).filePath(QStringLiteral("first.htm")));
    }
    void Cover(const QRect& ownerRect) override { m_covered = ownerRect; }
    QRect CoveredRect() const override { return m_covered; }
    void NavigateTo(const QUrl& address) override { RememberNavigation(m_navigations, address); }
    const std::vector<QUrl>& Navigations() const override { return m_navigations; }

private:
    std::string m_folder;
    QRect m_covered;
    std::vector<QUrl> m_navigations;
};

// The browser's library, beside the program (or in the current folder, the program folder).
WebPanelFactory LoadFactory() {
    static WebPanelFactory factory = [] {
        for (const QString& dir : {QCoreApplication::applicationDirPath(), QDir::currentPath()}) {
            QLibrary library(QDir(dir).filePath(QStringLiteral("libquvo_webpanel.so")));
            if (auto f = reinterpret_cast<WebPanelFactory>(library.resolve(kWebPanelFactory))) {
                return f;
            }
        }
        std::fputs("quvo: the web panel's library libquvo_webpanel.so cannot be loaded; "
                   "the panel stays empty\n", stderr);
        return WebPanelFactory{};
    }();
    return factory;
}

}  // namespace

WebPanel* MakeWebPanel(QWidget* owner) {
    if (g_engineEnabled) {
        if (WebPanelFactory factory = LoadFactory()) {
            return factory(owner);
        }
    }
    return new RecordingWebPanel(owner);
}

void SetWebPanelEngine(bool enabled) { g_engineEnabled = enabled; }

// The panel's pages are small and still, so the engine draws them in software: no OpenGL
// context is made when the application starts (on X that took a fifth of a second before the
// first character could be drawn), the engine can be loaded after the application object
// exists, and the panel works wherever the screen has no usable OpenGL. A choice the user
// made in the environment stands.
void PrepareWebEngine() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    for (const auto& [name, value] : {std::pair{"QT_XCB_GL_INTEGRATION", "none"},
                                      std::pair{"QT_QUICK_BACKEND", "software"},
                                      std::pair{"QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu"}}) {
        setenv(name, value, 0);
    }
    if (geteuid() == 0 && std::getenv("QTWEBENGINE_DISABLE_SANDBOX") == nullptr) {
        setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
        std::fputs("quvo: running as root: the web panel's sandbox is turned off\n", stderr);
    }
}

}  // namespace quvo
