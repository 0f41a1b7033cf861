#include "radio/CExplorer_ad.h"

#include "fw/DialogUnits.h"
#include "platform/shellopen/ShellOpen.h"
#include "platform/webview/WebView.h"

#include <QVBoxLayout>

namespace {
// 75 dialog units of the page's form, in the form's font.
constexpr int kHeightInDialogUnits = 75;
}

CExplorer_ad::CExplorer_ad(QWidget* pParent)
    : CWnd(pParent)
    , m_pView(CreateWebView({CWebView::LinkPolicy::OpenOutside, false}, this))
{
    setFixedHeight(DialogUnits::ToPixels(QSize(0, kHeightInDialogUnits), font()).height());
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(m_pView.get());
    connect(m_pView.get(), &CWebView::LoadFinished, this, &CExplorer_ad::DocumentComplete);
    connect(m_pView.get(), &CWebView::OutsideLinkRequested, this, &CExplorer_ad::OnOutsideLinkRequested);
}

CExplorer_ad::~CExplorer_ad() = default;

void CExplorer_ad::Navigate2(const CString& strURL)
{
    m_pView->Navigate(QUrl(strURL));
}

void CExplorer_ad::Refresh()
{
    m_pView->Reload();
}

CString CExplorer_ad::GetLocationURL() const
{
    return m_pView->Url().toString();
}

void CExplorer_ad::OnOutsideLinkRequested(const QUrl& url)
{
    // A banner may send the reader to a web site or an e-mail address, and
    // to nothing else on the computer.
    CreateShellOpen()->Open(url);
}
