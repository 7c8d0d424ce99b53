#pragma once

#include <QUrl>
#include <QWidget>

#include <string>
#include <vector>

#include "online/loadfailure.h"
#include "online/webpanel.h"

class QWebEngineLoadingInfo;
class QWebEngineView;

// The web panel's browser (Qt WebEngine), without scroll bars: it shows the program's pages
// and brings back the local start page when a server page cannot be reached or is not found.
// Built as a library of its own that the program loads when it first needs the panel.
//
// It is a frameless window of its own, owned by the main dialog and kept over the dialog's
// web panel (moved, shown and hidden with it): a browser widget inside the dialog would have
// the whole dialog composed through the engine's scene graph on every repaint, which makes
// the game's writing animation half as slow again. The window never takes the keyboard: a
// child keeps typing into the dialog while a page loads.
class CMyHtmlView : public QWidget, public quvo::WebPanel {
    Q_OBJECT

public:
    explicit CMyHtmlView(QWidget* owner);
    ~CMyHtmlView() override;

    QWidget* Widget() override { return this; }
    void SetLocalFolder(const std::string& folder) override { m_localFolder = folder; }
    QUrl LocalStartPage() const override;
    void Cover(const QRect& ownerRect) override;
    QRect CoveredRect() const override { return m_covered; }
    void NavigateTo(const QUrl& address) override;
    const std::vector<QUrl>& Navigations() const override { return m_navigations; }

    QWebEngineView* Engine() const { return m_engine; }

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
