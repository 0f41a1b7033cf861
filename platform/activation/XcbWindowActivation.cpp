#include "platform/activation/XcbWindowActivation.h"

#include <QGuiApplication>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstring>
#include <memory>

namespace {
constexpr char kStartupIdAtom[] = "_NET_STARTUP_ID";
constexpr char kUtf8StringAtom[] = "UTF8_STRING";
constexpr char kInfoBeginAtom[] = "_NET_STARTUP_INFO_BEGIN";
constexpr char kInfoAtom[] = "_NET_STARTUP_INFO";
// A startup message travels in pieces of 20 bytes, the last one ending in
// a zero byte.
constexpr std::size_t kPieceBytes = 20;

xcb_atom_t Atom(xcb_connection_t* pConnection, const char* pszName)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(pConnection, 0, static_cast<uint16_t>(std::strlen(pszName)), pszName);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> pReply(
        xcb_intern_atom_reply(pConnection, cookie, nullptr), &free);
    return pReply ? pReply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// "remove: ID=..." with the id quoted as the startup notification
// protocol quotes values.
QByteArray RemoveMessage(const QString& strStartupId)
{
    QByteArray id = strStartupId.toUtf8();
    id.replace('\\', "\\\\").replace('"', "\\\"");
    return QByteArrayLiteral("remove: ID=\"") + id + '"';
}

void SendStartupMessage(xcb_connection_t* pConnection, xcb_window_t window, xcb_window_t root,
                        const QByteArray& message)
{
    const xcb_atom_t begin = Atom(pConnection, kInfoBeginAtom);
    const xcb_atom_t more = Atom(pConnection, kInfoAtom);
    QByteArray bytes = message;
    bytes.append('\0');
    for (qsizetype nOffset = 0; nOffset < bytes.size(); nOffset += kPieceBytes) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = window;
        event.type = nOffset == 0 ? begin : more;
        const QByteArray piece = bytes.mid(nOffset, kPieceBytes);
        std::memcpy(event.data.data8, piece.constData(), static_cast<std::size_t>(piece.size()));
        xcb_send_event(pConnection, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE, reinterpret_cast<const char*>(&event));
    }
}
}

void CXcbWindowActivation::UseToken(QWindow* pWindow, const QString& strToken)
{
    auto* pApp = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* pX11 = pApp != nullptr ? pApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* pConnection = pX11 != nullptr ? pX11->connection() : nullptr;
    if (strToken.isEmpty() || pWindow == nullptr || pConnection == nullptr)
        return;
    const auto window = static_cast<xcb_window_t>(pWindow->winId());
    const QByteArray id = strToken.toUtf8();
    xcb_change_property(pConnection, XCB_PROP_MODE_REPLACE, window, Atom(pConnection, kStartupIdAtom),
                        Atom(pConnection, kUtf8StringAtom), 8, static_cast<uint32_t>(id.size()), id.constData());
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(pConnection)).data->root;
    SendStartupMessage(pConnection, window, root, RemoveMessage(strToken));
    xcb_flush(pConnection);
}
