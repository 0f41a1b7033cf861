#include "frame/MainFrameTrayIcon.h"

#include "frame/TrayMouseRules.h"
#include "fw/CWnd.h"
#include "fw/PlainText.h"
#include "platform/tray/TrayIcon.h"
#include "res/PrivateMessages.h"
#include "res/ResourceImages.h"

namespace {
// The tip carries a station's name and titles: the notification area must
// show them as written, never as markup.
CString ShownTip(const CString& strTip)
{
    return PlainToolTip(strTip.left(CMainFrameTrayIcon::kMaxTipLength));
}
}

CMainFrameTrayIcon::CMainFrameTrayIcon(CWnd* pNotifyWindow)
    : m_pNotifyWindow(pNotifyWindow)
{
}

CMainFrameTrayIcon::~CMainFrameTrayIcon() = default;

BOOL CMainFrameTrayIcon::Add(const CString& strTip)
{
    // A new icon each time, as a fresh icon handle would be.
    m_pIcon = CreateTrayIcon();
    connect(m_pIcon.get(), &ITrayIcon::Activated, this, [this](ITrayIcon::Gesture gesture) {
        m_pNotifyWindow->PostMessage(WM_TRAY_NOTIFY, kIconId,
                                     static_cast<LPARAM>(TrayMouseRules::MouseMessageOf(gesture)));
    });
    return m_pIcon->Add(ResourceImages::ApplicationIcon(), ShownTip(strTip)) ? TRUE : FALSE;
}

void CMainFrameTrayIcon::SetTip(const CString& strTip)
{
    if (m_pIcon != nullptr)
        m_pIcon->SetTip(ShownTip(strTip));
}

void CMainFrameTrayIcon::Remove()
{
    if (m_pIcon != nullptr)
        m_pIcon->Remove();
}

bool CMainFrameTrayIcon::IsHostAvailable() const
{
    return m_pIcon != nullptr && m_pIcon->IsAdded() && m_pIcon->IsAvailable();
}

bool CMainFrameTrayIcon::IsAdded() const
{
    return m_pIcon != nullptr && m_pIcon->IsAdded();
}

CString CMainFrameTrayIcon::GetTip() const
{
    return m_pIcon != nullptr ? m_pIcon->Tip() : CString();
}

CString CMainFrameTrayIcon::TipText(const CString& strAppName, const CString& strStatus)
{
    const CString strTip = strStatus.isEmpty() ? strAppName : strAppName + QLatin1Char('\n') + strStatus;
    return strTip.left(kMaxTipLength);
}
