#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QVariantMap>
#include <functional>

// One call of a desktop portal method that answers later through a Request
// object: the answer's signal is listened for on the path the portal will
// give the request (made from our token) before the call goes out, so that
// no answer is missed, and on the path the portal returns should it differ.
class CPortalRequest : public QObject
{
    Q_OBJECT

public:
    // The response code and the results; 0 is success, 1 the user
    // cancelled, 2 anything else (a failed call included).
    using Handler = std::function<void(uint nResponse, const QVariantMap& results)>;

    static constexpr uint kSuccess = 0;
    static constexpr uint kFailed = 2;

    // Sends the call (its last argument, the options, gets the request's
    // token) and answers handler once; nothing when pParent goes first.
    static void Send(const QDBusConnection& bus, QDBusMessage call, Handler handler, QObject* pParent);

private slots:
    void OnResponse(uint nResponse, const QVariantMap& results);

private:
    CPortalRequest(const QDBusConnection& bus, Handler handler, QObject* pParent);
    bool Listen(const QString& strPath);
    void StopListening();
    void Finish(uint nResponse, const QVariantMap& results);

    QDBusConnection m_bus;
    Handler m_handler;
    QString m_strPath;
};
