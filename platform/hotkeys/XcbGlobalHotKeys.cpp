#include "platform/hotkeys/XcbGlobalHotKeys.h"

#include "platform/hotkeys/HotKeysLog.h"
#include "platform/hotkeys/VirtualKeySymbols.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#define XK_MISCELLANY
#include <X11/keysymdef.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <memory>

namespace {
constexpr quint16 kModifierKeysMask = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

quint16 ModifierMask(unsigned nModifiers)
{
    quint16 nMask = 0;
    if (nModifiers & IGlobalHotKeys::kModifierAlt)
        nMask |= XCB_MOD_MASK_1;
    if (nModifiers & IGlobalHotKeys::kModifierControl)
        nMask |= XCB_MOD_MASK_CONTROL;
    if (nModifiers & IGlobalHotKeys::kModifierShift)
        nMask |= XCB_MOD_MASK_SHIFT;
    if (nModifiers & IGlobalHotKeys::kModifierSuper)
        nMask |= XCB_MOD_MASK_4;
    return nMask;
}

struct KeySymbolsDeleter {
    void operator()(xcb_key_symbols_t* pSymbols) const { xcb_key_symbols_free(pSymbols); }
};
using KeySymbols = std::unique_ptr<xcb_key_symbols_t, KeySymbolsDeleter>;

// The key codes that produce a symbol on the keyboard as it is mapped now.
QList<quint8> KeyCodesOf(xcb_key_symbols_t* pSymbols, xcb_keysym_t nKeySym)
{
    QList<quint8> keyCodes;
    std::unique_ptr<xcb_keycode_t, decltype(&free)> pCodes(xcb_key_symbols_get_keycode(pSymbols, nKeySym), &free);
    for (const xcb_keycode_t* pCode = pCodes.get(); pCode != nullptr && *pCode != XCB_NO_SYMBOL; ++pCode)
        keyCodes.append(*pCode);
    return keyCodes;
}

// The modifier bit that a lock key sets, as the keyboard is mapped now; 0
// when no modifier carries it.
quint16 ModifierOfKey(xcb_connection_t* pConnection, const QList<quint8>& keyCodes)
{
    std::unique_ptr<xcb_get_modifier_mapping_reply_t, decltype(&free)> pReply(
        xcb_get_modifier_mapping_reply(pConnection, xcb_get_modifier_mapping(pConnection), nullptr), &free);
    if (!pReply || keyCodes.isEmpty())
        return 0;
    const xcb_keycode_t* pCodes = xcb_get_modifier_mapping_keycodes(pReply.get());
    const int nPerModifier = pReply->keycodes_per_modifier;
    for (int nModifier = 0; nModifier < 8; ++nModifier) {
        for (int i = 0; i < nPerModifier; ++i) {
            if (keyCodes.contains(pCodes[nModifier * nPerModifier + i]))
                return static_cast<quint16>(1u << nModifier);
        }
    }
    return 0;
}

// Every combination of the lock modifiers, none included.
QList<quint16> LockMaskVariants(const QList<quint16>& lockBits)
{
    QList<quint16> variants{0};
    for (quint16 nBit : lockBits) {
        if (nBit == 0 || variants.contains(nBit))
            continue;
        const qsizetype nCount = variants.size();
        for (qsizetype i = 0; i < nCount; ++i)
            variants.append(variants[i] | nBit);
    }
    return variants;
}
}

CXcbGlobalHotKeys::CXcbGlobalHotKeys(QObject* pParent)
    : IGlobalHotKeys(pParent)
{
    xcb_connection_t* pConnection = Connection();
    if (pConnection == nullptr)
        return;
    m_rootWindow = xcb_setup_roots_iterator(xcb_get_setup(pConnection)).data->root;
    QCoreApplication::instance()->installNativeEventFilter(this);
}

CXcbGlobalHotKeys::~CXcbGlobalHotKeys()
{
    // While the application goes, its X connection may be gone already;
    // the X server then drops the grabs with the connection.
    if (QCoreApplication::instance() == nullptr || Connection() == nullptr)
        return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    for (const KeyGrab& grab : std::as_const(m_grabs))
        UngrabKeys(grab);
    xcb_flush(Connection());
}

xcb_connection_t* CXcbGlobalHotKeys::Connection()
{
    auto* pApp = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* pX11 = pApp != nullptr ? pApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return pX11 != nullptr ? pX11->connection() : nullptr;
}

bool CXcbGlobalHotKeys::IsAvailable() const
{
    return m_rootWindow != 0 && Connection() != nullptr;
}

bool CXcbGlobalHotKeys::Grab(int, unsigned nModifiers, unsigned nVirtualKey)
{
    xcb_connection_t* pConnection = Connection();
    const xcb_keysym_t nKeySym = KeySymFromVirtualKey(nVirtualKey);
    if (!IsAvailable() || nKeySym == 0)
        return false;
    KeySymbols pSymbols(xcb_key_symbols_alloc(pConnection));
    if (!pSymbols)
        return false;
    KeyGrab grab{nModifiers, nVirtualKey, ModifierMask(nModifiers), KeyCodesOf(pSymbols.get(), nKeySym), {}};
    if (grab.keyCodes.isEmpty()) {
        qCWarning(lcHotKeys, "The key 0x%02X is not on this keyboard", nVirtualKey);
        return false;
    }
    const quint16 nNumLock = ModifierOfKey(pConnection, KeyCodesOf(pSymbols.get(), XK_Num_Lock));
    const quint16 nScrollLock = ModifierOfKey(pConnection, KeyCodesOf(pSymbols.get(), XK_Scroll_Lock));
    grab.lockMasks = LockMaskVariants({nNumLock, XCB_MOD_MASK_LOCK, nScrollLock});

    // Checked requests: a refusal (BadAccess, when another client holds the
    // keys) comes back here rather than to anyone's error handler.
    QList<xcb_void_cookie_t> cookies;
    for (quint8 nKeyCode : std::as_const(grab.keyCodes)) {
        for (quint16 nLocks : std::as_const(grab.lockMasks)) {
            cookies.append(xcb_grab_key_checked(pConnection, 0, m_rootWindow, grab.nModifierMask | nLocks, nKeyCode,
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        }
    }
    bool bGranted = true;
    for (const xcb_void_cookie_t& cookie : std::as_const(cookies)) {
        if (xcb_generic_error_t* pError = xcb_request_check(pConnection, cookie)) {
            bGranted = false;
            free(pError);
        }
    }
    if (!bGranted) {
        // Our own grabs among them go again; another client's stay its own.
        UngrabKeys(grab);
        xcb_flush(pConnection);
        qCWarning(lcHotKeys, "The key 0x%02X with modifiers 0x%02X is held by another program", nVirtualKey,
                  nModifiers);
        return false;
    }
    m_grabs.append(grab);
    return true;
}

void CXcbGlobalHotKeys::Ungrab(int, unsigned nModifiers, unsigned nVirtualKey)
{
    for (qsizetype i = 0; i < m_grabs.size(); ++i) {
        if (m_grabs[i].nModifiers == nModifiers && m_grabs[i].nVirtualKey == nVirtualKey) {
            UngrabKeys(m_grabs.takeAt(i));
            if (xcb_connection_t* pConnection = Connection())
                xcb_flush(pConnection);
            return;
        }
    }
}

void CXcbGlobalHotKeys::UngrabKeys(const KeyGrab& grab) const
{
    xcb_connection_t* pConnection = Connection();
    if (pConnection == nullptr)
        return;
    for (quint8 nKeyCode : grab.keyCodes) {
        for (quint16 nLocks : grab.lockMasks)
            xcb_ungrab_key(pConnection, nKeyCode, m_rootWindow, grab.nModifierMask | nLocks);
    }
}

bool CXcbGlobalHotKeys::nativeEventFilter(const QByteArray& eventType, void* pMessage, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* pEvent = static_cast<const xcb_generic_event_t*>(pMessage);
    if ((pEvent->response_type & ~0x80) != XCB_KEY_PRESS)
        return false;
    // A grabbed press is reported on the root window, wherever the focus is;
    // presses in the program's own windows are theirs.
    const auto* pKeyPress = static_cast<const xcb_key_press_event_t*>(pMessage);
    if (pKeyPress->event != m_rootWindow)
        return false;
    const quint16 nModifierMask = pKeyPress->state & kModifierKeysMask;
    for (const KeyGrab& grab : std::as_const(m_grabs)) {
        if (grab.nModifierMask == nModifierMask && grab.keyCodes.contains(pKeyPress->detail)) {
            ReportPressed(grab.nModifiers, grab.nVirtualKey);
            return true;
        }
    }
    return false;
}
