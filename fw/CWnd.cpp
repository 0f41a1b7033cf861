#include "fw/CWnd.h"

#include "fw/CFrameWnd.h"
#include "fw/WindowMessages.h"

#include <QCoreApplication>
#include <QSet>

namespace {
// Windows alive now, so that IsWindow can answer for a dangling pointer.
QSet<const CWnd*>& LiveWindows()
{
    static QSet<const CWnd*> windows;
    return windows;
}
}

CWindowMessageEvent::CWindowMessageEvent(UINT message, WPARAM wParam, LPARAM lParam)
    : QEvent(EventType())
    , m_message(message)
    , m_wParam(wParam)
    , m_lParam(lParam)
{
}

QEvent::Type CWindowMessageEvent::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

CWnd::CWnd(QWidget* pParent)
    : QWidget(pParent)
{
    LiveWindows().insert(this);
}

CWnd::~CWnd()
{
    LiveWindows().remove(this);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    QCoreApplication::postEvent(this, new CWindowMessageEvent(message, wParam, lParam));
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return WindowProc(message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && OnCommand(wParam, lParam))
        return 0;
    const auto entry = m_messageMap.find(message);
    if (entry != m_messageMap.end())
        return entry->second(wParam, lParam);
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT, WPARAM, LPARAM)
{
    return 0;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    return OnCmdMsg(LOWORD(wParam), nullptr);
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (QWidget* pParent = parentWidget(); pParent != nullptr; pParent = pParent->parentWidget()) {
        if (auto* pFrame = dynamic_cast<CFrameWnd*>(pParent))
            return pFrame;
    }
    return nullptr;
}

bool CWnd::event(QEvent* pEvent)
{
    if (pEvent->type() == CWindowMessageEvent::EventType()) {
        const auto* pMessage = static_cast<CWindowMessageEvent*>(pEvent);
        WindowProc(pMessage->m_message, pMessage->m_wParam, pMessage->m_lParam);
        return true;
    }
    return QWidget::event(pEvent);
}

BOOL IsWindow(const CWnd* pWnd)
{
    return pWnd != nullptr && LiveWindows().contains(pWnd) ? TRUE : FALSE;
}
