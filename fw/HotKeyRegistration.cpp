#include "fw/HotKeyRegistration.h"

#include "fw/CWnd.h"
#include "fw/WindowMessages.h"
#include "platform/hotkeys/GlobalHotKeys.h"

#include <QCoreApplication>
#include <QPointer>

namespace {
// One set of hot keys for the whole program, made at the first
// registration and gone with the application object.
QPointer<IGlobalHotKeys> g_pHotKeys;

IGlobalHotKeys* HotKeys()
{
    if (g_pHotKeys.isNull() && QCoreApplication::instance() != nullptr) {
        g_pHotKeys = CreateGlobalHotKeys(QCoreApplication::instance()).release();
        QObject::connect(g_pHotKeys, &IGlobalHotKeys::Pressed, g_pHotKeys,
                         [](QObject* pOwner, int nId, unsigned nModifiers, unsigned nVirtualKey) {
                             auto* pWnd = static_cast<CWnd*>(pOwner);
                             if (IsWindow(pWnd) && !pWnd->IsDestroyed()) {
                                 const auto lParam = static_cast<LPARAM>((nModifiers & 0xFFFF) | (nVirtualKey << 16));
                                 pWnd->PostMessage(WM_HOTKEY, static_cast<WPARAM>(nId), lParam);
                             }
                         });
        QObject::connect(g_pHotKeys, &IGlobalHotKeys::BindingChanged, g_pHotKeys,
                         [](QObject* pOwner, int nId, IGlobalHotKeys::BindingChange eChange) {
                             auto* pWnd = static_cast<CWnd*>(pOwner);
                             if (IsWindow(pWnd) && !pWnd->IsDestroyed()) {
                                 const LPARAM lParam = eChange == IGlobalHotKeys::BindingChange::Answered
                                     ? HOTKEY_BINDING_ANSWERED
                                     : HOTKEY_BINDING_CHANGED_ON_DESKTOP;
                                 pWnd->PostMessage(WM_HOTKEY_BINDING, static_cast<WPARAM>(nId), lParam);
                             }
                         });
    }
    return g_pHotKeys;
}
}

BOOL RegisterHotKey(CWnd* pWnd, int nId, UINT fsModifiers, UINT vk)
{
    IGlobalHotKeys* pHotKeys = HotKeys();
    if (pHotKeys == nullptr || !IsWindow(pWnd) || pWnd->IsDestroyed())
        return FALSE;
    return pHotKeys->Register(pWnd, nId, fsModifiers, vk) ? TRUE : FALSE;
}

BOOL UnregisterHotKey(CWnd* pWnd, int nId)
{
    return !g_pHotKeys.isNull() && g_pHotKeys->Unregister(pWnd, nId) ? TRUE : FALSE;
}

void ReleaseHotKeys(CWnd* pWnd)
{
    if (!g_pHotKeys.isNull())
        g_pHotKeys->UnregisterAll(pWnd);
}

BOOL DesktopDecidesHotKeys()
{
    IGlobalHotKeys* pHotKeys = HotKeys();
    return pHotKeys != nullptr && pHotKeys->DesktopDecidesTriggers() ? TRUE : FALSE;
}

HotKeyBinding GetHotKeyBinding(CWnd* pWnd, int nId)
{
    if (g_pHotKeys.isNull())
        return {HotKeyBindingState::Refused, QString()};
    return g_pHotKeys->BindingOf(pWnd, nId);
}

BOOL CanConfigureHotKeysOnDesktop()
{
    IGlobalHotKeys* pHotKeys = HotKeys();
    return pHotKeys != nullptr && pHotKeys->CanConfigureOnDesktop() ? TRUE : FALSE;
}

void ConfigureHotKeysOnDesktop()
{
    if (IGlobalHotKeys* pHotKeys = HotKeys())
        pHotKeys->ConfigureOnDesktop();
}

void DescribeHotKeys(const QList<HotKeyDescription>& descriptions)
{
    if (IGlobalHotKeys* pHotKeys = HotKeys())
        pHotKeys->DescribeActions(descriptions);
}
