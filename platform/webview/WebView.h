#pragma once

#include <QUrl>
#include <QWidget>

// A widget that shows a web page. Pages never open windows of their own and
// never reach local files.
class CWebView : public QWidget
{
    Q_OBJECT

public:
    // What a link the reader follows does: load in this view, or be handed
    // out through OutsideLinkRequested while the view stays where it is.
    enum class LinkPolicy { FollowInView, OpenOutside };

    struct Options
    {
        LinkPolicy links = LinkPolicy::FollowInView;
        bool bScrollBars = true;
    };

    explicit CWebView(QWidget* pParent = nullptr);
    ~CWebView() override;

    virtual void Navigate(const QUrl& url) = 0;
    virtual void Reload() = 0;
    virtual QUrl Url() const = 0;

signals:
    void LoadFinished(bool bOk);
    // A link the reader followed, or a window the page wanted to open, when
    // links open outside.
    void OutsideLinkRequested(const QUrl& url);
};

// False when web pages cannot be shown on this system.
bool IsWebViewAvailable();
// The web view of this platform, owned by pParent.
CWebView* CreateWebView(const CWebView::Options& options, QWidget* pParent);
