#include "platform/hotkeys/PortalRequest.h"

#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {
constexpr char kPortalService[] = "org.freedesktop.portal.Desktop";
constexpr char kRequestInterface[] = "org.freedesktop.portal.Request";
constexpr char kResponse[] = "Response";
constexpr char kRequestPathFormat[] = "/org/freedesktop/portal/desktop/request/%1/%2";
constexpr char kHandleToken[] = "handle_token";
constexpr char kTokenPrefix[] = "kestrel";

quint64 g_nLastToken = 0;
}

CPortalRequest::CPortalRequest(const QDBusConnection& bus, Handler handler, QObject* pParent)
    : QObject(pParent)
    , m_bus(bus)
    , m_handler(std::move(handler))
{
}

void CPortalRequest::Send(const QDBusConnection& bus, QDBusMessage call, Handler handler, QObject* pParent)
{
    auto* pRequest = new CPortalRequest(bus, std::move(handler), pParent);
    const QString strToken = QLatin1String(kTokenPrefix) + QString::number(++g_nLastToken);
    // The portal names the request after our connection's unique name
    // without its colon, dots made underscores, and our token.
    const QString strSender = bus.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    pRequest->Listen(QString::fromLatin1(kRequestPathFormat).arg(strSender, strToken));

    QList<QVariant> arguments = call.arguments();
    QVariantMap options = arguments.isEmpty() ? QVariantMap() : arguments.takeLast().toMap();
    options.insert(QLatin1String(kHandleToken), strToken);
    arguments << options;
    call.setArguments(arguments);

    auto* pWatcher = new QDBusPendingCallWatcher(bus.asyncCall(call), pRequest);
    connect(pWatcher, &QDBusPendingCallWatcher::finished, pRequest, [pRequest](QDBusPendingCallWatcher* pCall) {
        pCall->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *pCall;
        if (reply.isError()) {
            pRequest->Finish(kFailed, {});
            return;
        }
        // Portals older than the token convention pick a path of their own.
        const QString strPath = reply.value().path();
        if (strPath != pRequest->m_strPath) {
            pRequest->StopListening();
            pRequest->Listen(strPath);
        }
    });
}

bool CPortalRequest::Listen(const QString& strPath)
{
    m_strPath = strPath;
    return m_bus.connect(QLatin1String(kPortalService), m_strPath, QLatin1String(kRequestInterface),
                         QLatin1String(kResponse), this, SLOT(OnResponse(uint, QVariantMap)));
}

void CPortalRequest::StopListening()
{
    m_bus.disconnect(QLatin1String(kPortalService), m_strPath, QLatin1String(kRequestInterface),
                     QLatin1String(kResponse), this, SLOT(OnResponse(uint, QVariantMap)));
}

void CPortalRequest::OnResponse(uint nResponse, const QVariantMap& results)
{
    Finish(nResponse, results);
}

void CPortalRequest::Finish(uint nResponse, const QVariantMap& results)
{
    if (!m_handler)
        return;
    StopListening();
    // The handler may send the next request, or end the requests' owner.
    const Handler handler = std::exchange(m_handler, {});
    deleteLater();
    handler(nResponse, results);
}
