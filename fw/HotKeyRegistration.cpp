#include "fw/HotKeyRegistration.h"

#include "fw/CWnd.h"
#include "fw/WindowMessages.h"
#include "platform/hotkeys/GlobalHotKeys.h"

#include <QCoreApplication>
#include <QPointer>

namespace {
// One set of hot keys for the whole program, made at the first
// registration and gone with the application object.
QPointer<CGlobalHotKeys> g_pHotKeys;

CGlobalHotKeys* HotKeys()
{
    if (g_pHotKeys.isNull() && QCoreApplication::instance() != nullptr) {
        g_pHotKeys = CreateGlobalHotKeys(QCoreApplication::instance()).release();
        QObject::connect(g_pHotKeys, &CGlobalHotKeys::Pressed, g_pHotKeys,
                         [](QObject* pOwner, int nId, unsigned nModifiers, unsigned nVirtualKey) {
                             auto* pWnd = static_cast<CWnd*>(pOwner);
                             if (IsWindow(pWnd) && !pWnd->IsDestroyed()) {
                                 const auto lParam = static_cast<LPARAM>((nModifiers & 0xFFFF) | (nVirtualKey << 16));
                                 pWnd->PostMessage(WM_HOTKEY, static_cast<WPARAM>(nId), lParam);
                             }
                         });
        QObject::connect(g_pHotKeys, &CGlobalHotKeys::BindingChanged, g_pHotKeys,
                         [](QObject* pOwner, int nId, CGlobalHotKeys::BindingChange eChange) {
                             auto* pWnd = static_cast<CWnd*>(pOwner);
                             if (IsWindow(pWnd) && !pWnd->IsDestroyed()) {
                                 const LPARAM lParam = eChange == CGlobalHotKeys::BindingChange::Answered
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
    CGlobalHotKeys* pHotKeys = HotKeys();
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
    CGlobalHotKeys* pHotKeys = HotKeys();
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
    CGlobalHotKeys* pHotKeys = HotKeys();
    return pHotKeys != nullptr && pHotKeys->CanConfigureOnDesktop() ? TRUE : FALSE;
}

void ConfigureHotKeysOnDesktop()
{
    if (CGlobalHotKeys* pHotKeys = HotKeys())
        pHotKeys->ConfigureOnDesktop();
}

void DescribeHotKeys(const QList<HotKeyDescription>& descriptions)
{
    if (CGlobalHotKeys* pHotKeys = HotKeys())
        pHotKeys->DescribeActions(descriptions);
}
