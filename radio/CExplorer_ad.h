#pragma once

#include "fw/CWnd.h"
#include "fw/Types.h"

#include <memory>

class CWebView;

// The radio page's banner: a strip of fixed height that shows one web page.
// Links in it open in the user's web browser, never in the strip. The page
// loads when the banner is first seen, not when the radio page opens hidden.
class CExplorer_ad : public CWnd
{
    Q_OBJECT

public:
    explicit CExplorer_ad(QWidget* pParent = nullptr);
    ~CExplorer_ad() override;

    void Navigate2(const CString& strURL);
    void Refresh();
    CString GetLocationURL() const;

signals:
    // The page finished loading, well or not.
    void DocumentComplete(bool bOk);

private:
    void OnOutsideLinkRequested(const QUrl& url);

    std::unique_ptr<CWebView> m_pView;
};
