#pragma once

#include <QString>
#include <memory>
#include <QUrl>
#include <QtPlugin>

class QWidget;

// What the web engine module offers the program. The module is loaded only
// when a web page is first shown, so that a program that shows none never
// maps the engine's libraries nor starts its helper processes. Nothing here
// names the engine: both sides share this header and Qt alone.

// How a page treats the links its reader follows.
enum class WebLinkPolicy {
    // Web addresses load in the page; a window the page asks for and any
    // other scheme are handed out.
    FollowInView,
    // Every followed link and every window is handed out; the page stays.
    OpenOutside
};

struct WebPageOptions {
    WebLinkPolicy links = WebLinkPolicy::FollowInView;
    bool bScrollBars = true;
    // How long a hidden view keeps its renderer.
    int nDormantAfterMs = 30000;
};

// Told what happens in a page, on the GUI thread.
class IWebPageClient
{
public:
    virtual void OnLoadFinished(bool bOk) = 0;
    virtual void OnTitleChanged(const QString& strTitle) = 0;
    // A link the reader followed, or a window the page wanted, that the
    // page's policy hands out.
    virtual void OnOutsideLinkRequested(const QUrl& url) = 0;

protected:
    ~IWebPageClient() = default;
};

// One page: a widget in the parent it was created with, owned by whoever
// asked for it.
class IWebPage
{
public:
    virtual ~IWebPage() = default;
    virtual QWidget* Widget() = 0;
    virtual void Navigate(const QUrl& url) = 0;
    virtual void Reload() = 0;
    virtual QUrl Url() const = 0;
    virtual QString Title() const = 0;
    // A dormant page gives its renderer back to the engine; waking it loads
    // the page it showed again. Only a page nobody sees may sleep.
    virtual void SetDormant(bool bDormant) = 0;
};

class IWebEngineBackend
{
public:
    virtual ~IWebEngineBackend() = default;
    // A new page that reports to client; client outlives it.
    virtual std::unique_ptr<IWebPage> CreatePage(const WebPageOptions& options, IWebPageClient& client,
                                                 QWidget* pParent) = 0;
};

#define KESTREL_WEB_ENGINE_BACKEND_IID "org.kestrelradio.WebEngineBackend/1"
Q_DECLARE_INTERFACE(IWebEngineBackend, KESTREL_WEB_ENGINE_BACKEND_IID)
