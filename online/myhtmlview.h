#pragma once

#include <QUrl>
#include <QWidget>

#include <string>
#include <vector>

#include "online/loadfailure.h"

class QWebEngineLoadingInfo;
class QWebEngineView;

// The web panel: a browser (Qt WebEngine) without scroll bars that shows the program's pages
// and brings back the local start page when a server page cannot be reached or is not found.
//
// It is a frameless window of its own, owned by the main dialog and kept over the dialog's
// web panel (moved, shown and hidden with it). The engine draws through OpenGL, and a
// widget of that kind inside the dialog would have the whole dialog composed through OpenGL
// on every repaint, which makes the game's writing animation half as fast again. The window
// never takes the keyboard: a child keeps typing into the dialog while a page loads.
class CMyHtmlView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kControlId = 2978;

    explicit CMyHtmlView(QWidget* owner);
    ~CMyHtmlView() override;

    // The program folder; its first.htm is the local start page.
    void SetLocalFolder(const std::string& folder) { m_localFolder = folder; }
    QUrl LocalStartPage() const;

    // The part of the owner the panel covers, in the owner's coordinates.
    void Cover(const QRect& ownerRect);
    QRect CoveredRect() const { return m_covered; }

    // Navigates to an address (or a local file URL); a later call replaces a load under way.
    void NavigateTo(const QUrl& address);

    // Every address asked for, in order, the fallbacks to the local start page included.
    const std::vector<QUrl>& Navigations() const { return m_navigations; }
    QWebEngineView* Engine() const { return m_engine; }

    // Without the engine (tests of the dialog) the view only records its navigations.
    static void SetEngineEnabled(bool enabled);
    static bool EngineEnabled();

    // What a finished load means for the panel; public for the tests.
    static quvo::LoadFailure ClassifyLoad(const QWebEngineLoadingInfo& info);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnLoadingChanged(const QWebEngineLoadingInfo& info);
    void FollowOwner();

    QWidget* m_owner;
    QRect m_covered;
    std::string m_localFolder;
    QWebEngineView* m_engine = nullptr;
    std::vector<QUrl> m_navigations;
};

namespace quvo {

// To be called before the application object is made: settings Qt WebEngine needs then, and,
// for a program run as root, the engine's sandbox turned off (it refuses root), said once on
// standard error.
void PrepareWebEngine();

}  // namespace quvo
