#pragma once

#include "platform/webview/OutsideLinkGate.h"
#include "platform/webview/WebEngineBackend.h"

#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <memory>

// A widget that shows a web page. Pages never open windows of their own and
// never reach local files.
//
// The engine behind it costs much memory and several helper processes, so
// it is started only once a view has first been painted: until then the view
// is an empty widget that remembers where it was asked to go. A view hidden
// for a while lets the engine end its renderer and loads its page again
// when it shows, unless the reader has clicked or typed in the page since
// the view was sent there: what the reader put into a form stays.
//
// Links and windows the page hands out leave the view only when they follow
// the reader's own click or key press on it (see COutsideLinkGate).
class CWebView : public QWidget, private IWebPageClient
{
    Q_OBJECT

public:
    using LinkPolicy = WebLinkPolicy;
    using Options = WebPageOptions;

    explicit CWebView(const Options& options, QWidget* pParent = nullptr);
    ~CWebView() override;

    // False when web pages cannot be shown on this system.
    static bool IsAvailable();

    void Navigate(const QUrl& url);
    // Loads the page again; a navigation still on its way is already a
    // fresh load of its page, and stays as it is.
    void Reload();
    // The page shown, or the one the view will show once visible.
    QUrl Url() const;
    QString Title() const;
    // Whether the engine's page exists (the view has been visible).
    bool HasPage() const { return m_pPage != nullptr; }
    // Whether the page has given its renderer back while hidden.
    bool IsDormant() const { return m_bDormant; }

signals:
    void LoadFinished(bool bOk);
    void TitleChanged(const QString& strTitle);
    // A link the reader followed, or a window the page wanted to open, that
    // the link policy hands out, right after the reader's click or key press.
    void OutsideLinkRequested(const QUrl& url);

protected:
    void showEvent(QShowEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;
    // Watches the reader's input on the page.
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void CreatePage();
    void OnLoadFinished(bool bOk) override;
    void OnTitleChanged(const QString& strTitle) override;
    void OnOutsideLinkRequested(const QUrl& url) override;

    Options m_options;
    std::unique_ptr<IWebPage> m_pPage;
    QUrl m_requestedUrl;
    bool m_bNavigating = false;
    bool m_bPageScheduled = false;
    bool m_bDormant = false;
    // The reader clicked or typed in the page since the last Navigate.
    bool m_bUserInput = false;
    QTimer m_dormancyTimer;
    COutsideLinkGate m_outsideLinks;
};

// The web view of this platform, shown in pParent.
std::unique_ptr<CWebView> CreateWebView(const CWebView::Options& options, QWidget* pParent);
