#include "fw/CHtmlView.h"

#include "platform/shellopen/ShellOpen.h"
#include "platform/webview/WebView.h"

#include <QVBoxLayout>

CHtmlView::CHtmlView(QWidget* pParent)
    : CView(pParent)
    , m_pBrowser(CreateWebView({CWebView::LinkPolicy::FollowInView, true}, this))
{
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(m_pBrowser.get());
    connect(m_pBrowser.get(), &CWebView::LoadFinished, this, &CHtmlView::DocumentComplete);
    connect(m_pBrowser.get(), &CWebView::OutsideLinkRequested, this, &CHtmlView::OnOutsideLinkRequested);
}

CHtmlView::~CHtmlView() = default;

void CHtmlView::Navigate(const CString& strURL)
{
    m_pBrowser->Navigate(QUrl(strURL));
}

void CHtmlView::Refresh()
{
    m_pBrowser->Reload();
}

CString CHtmlView::GetLocationURL() const
{
    return m_pBrowser->Url().toString();
}

CString CHtmlView::GetLocationName() const
{
    return m_pBrowser->Title();
}

void CHtmlView::OnOutsideLinkRequested(const QUrl& url)
{
    CreateShellOpen()->Open(url);
}
