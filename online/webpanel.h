#pragma once

#include <QRect>
#include <QUrl>

#include <string>
#include <vector>

class QWidget;

namespace quvo {

// The dialog's web panel as the dialog sees it. The browser behind it (CMyHtmlView, on Qt
// WebEngine) lives in a library of its own that the program loads only once the first
// character is on the screen: the engine's libraries are large, and linked into the program
// they would hold up every start.
class WebPanel {
public:
    static constexpr int kControlId = 2978;

    virtual ~WebPanel() = default;

    virtual QWidget* Widget() = 0;
    // The program folder; its first.htm is the local start page.
    virtual void SetLocalFolder(const std::string& folder) = 0;
    virtual QUrl LocalStartPage() const = 0;
    // The part of the owner the panel covers, in the owner's coordinates.
    virtual void Cover(const QRect& ownerRect) = 0;
    virtual QRect CoveredRect() const = 0;
    // Navigates to an address (or a local file); a later call replaces a load under way.
    virtual void NavigateTo(const QUrl& address) = 0;
    // The last addresses asked for (at most kRememberedNavigations), in order, the fallbacks
    // to the local start page included.
    virtual const std::vector<QUrl>& Navigations() const = 0;
};

// Every character switch sends the panel to a page: a session of thousands of switches must
// not keep every address.
inline constexpr std::size_t kRememberedNavigations = 64;
inline void RememberNavigation(std::vector<QUrl>& navigations, const QUrl& address) {
    if (navigations.size() >= kRememberedNavigations) {
        navigations.erase(navigations.begin());
    }
    navigations.push_back(address);
}

// The panel for `owner`: the browser from the program's folder, or, when tests turn the
// engine off or the library cannot be loaded (said once on standard error), a panel that only
// records the pages it is sent to.
WebPanel* MakeWebPanel(QWidget* owner);
void SetWebPanelEngine(bool enabled);

// The name of the browser's entry point in its library.
inline constexpr char kWebPanelFactory[] = "quvo_create_web_panel";
using WebPanelFactory = WebPanel* (*)(QWidget* owner);

// To be called before the application object is made: what the engine needs then (it draws
// in software, see webpanel.cpp), and, for a program run as root, the engine's sandbox turned
// off (it refuses root), said once on standard error.
void PrepareWebEngine();

}  // namespace quvo
