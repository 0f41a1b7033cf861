#pragma once

#include "fw/CView.h"

#include <memory>

class CWebView;
class QUrl;

// A view that is a web browser: it shows one page, and links inside it load
// in the view the way a browser loads them. A link that asks for a window of
// its own, or an address that is not a web page (mail, for instance), goes
// to the desktop's own program for it after the reader's click. A page that
// cannot load shows the browser's own error page.
class CHtmlView : public CView
{
    Q_OBJECT

public:
    explicit CHtmlView(QWidget* pParent = nullptr);
    ~CHtmlView() override;

    void Navigate(const CString& strURL);
    // Loads the page again from its server.
    void Refresh();
    CString GetLocationURL() const;
    // The page's title, as plain text.
    CString GetLocationName() const;

signals:
    // The page finished loading, well or not.
    void DocumentComplete(bool bOk);

private:
    void OnOutsideLinkRequested(const QUrl& url);

    std::unique_ptr<CWebView> m_pBrowser;
};
