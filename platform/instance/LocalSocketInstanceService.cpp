#include "platform/instance/LocalSocketInstanceService.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>

namespace {

// A request: its kind, then a window message and its two parameters.
enum class RequestKind : quint8 { Message = 1, ShowAndActivate = 2 };
constexpr qint64 kRequestSize = 1 + 4 + 8 + 8;
constexpr qint64 kAnswerSize = 8;

struct Request
{
    RequestKind kind;
    quint32 message;
    quint64 wParam;
    qint64 lParam;
};

QByteArray Encode(const Request& request)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << static_cast<quint8>(request.kind) << request.message << request.wParam << request.lParam;
    return bytes;
}

bool Decode(const QByteArray& bytes, Request* pRequest)
{
    QDataStream stream(bytes);
    quint8 kind = 0;
    stream >> kind >> pRequest->message >> pRequest->wParam >> pRequest->lParam;
    if (stream.status() != QDataStream::Ok)
        return false;
    if (kind != static_cast<quint8>(RequestKind::Message) && kind != static_cast<quint8>(RequestKind::ShowAndActivate))
        return false;
    pRequest->kind = static_cast<RequestKind>(kind);
    return true;
}

class CLocalSocketRunningInstance : public IRunningInstance
{
public:
    CLocalSocketRunningInstance(QString strSocketPath, int nTimeoutMs)
        : m_strSocketPath(std::move(strSocketPath))
        , m_nTimeoutMs(nTimeoutMs)
    {
    }

    bool SendMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t* pResult) override
    {
        return Ask({RequestKind::Message, message, wParam, lParam}, pResult);
    }

    bool ShowAndActivate() override
    {
        return Ask({RequestKind::ShowAndActivate, 0, 0, 0}, nullptr);
    }

private:
    // One connection per request: send it, then wait for the answer.
    bool Ask(const Request& request, std::intptr_t* pResult)
    {
        QDeadlineTimer deadline(m_nTimeoutMs);
        QLocalSocket socket;
        socket.connectToServer(m_strSocketPath);
        if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime())))
            return false;
        socket.write(Encode(request));
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            return false;
        while (socket.bytesAvailable() < kAnswerSize) {
            if (deadline.hasExpired() || !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
                return false;
        }
        QDataStream stream(socket.read(kAnswerSize));
        qint64 result = 0;
        stream >> result;
        if (pResult != nullptr)
            *pResult = static_cast<std::intptr_t>(result);
        socket.disconnectFromServer();
        return true;
    }

    QString m_strSocketPath;
    int m_nTimeoutMs;
};

QString SocketFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

}

CLocalSocketInstanceService::CLocalSocketInstanceService(const QString& strName, int nAnswerTimeoutMs)
    : m_strSocketPath(SocketFolder() + QLatin1Char('/') + QString(strName).replace(QLatin1Char('/'), QLatin1Char('_')))
    , m_nAnswerTimeoutMs(nAnswerTimeoutMs)
{
}

CLocalSocketInstanceService::~CLocalSocketInstanceService()
{
    StopListening();
}

bool CLocalSocketInstanceService::IsAvailable() const
{
    return QDir(SocketFolder()).exists();
}

QString CLocalSocketInstanceService::SocketPath() const
{
    return m_strSocketPath;
}

bool CLocalSocketInstanceService::IsSomeoneListening() const
{
    QLocalSocket probe;
    probe.connectToServer(m_strSocketPath);
    const bool bConnected = probe.waitForConnected(m_nAnswerTimeoutMs);
    probe.abort();
    return bConnected;
}

std::unique_ptr<IRunningInstance> CLocalSocketInstanceService::FindRunningInstance()
{
    if (m_pServer != nullptr || !IsSomeoneListening())
        return nullptr;
    return std::make_unique<CLocalSocketRunningInstance>(m_strSocketPath, m_nAnswerTimeoutMs);
}

bool CLocalSocketInstanceService::Listen(IInstanceReceiver* pReceiver)
{
    if (m_pServer != nullptr) {
        m_pReceiver = pReceiver;
        return true;
    }
    // Listening with access options replaces whatever socket is in the way,
    // so a live instance is looked for first.
    if (IsSomeoneListening())
        return false;
    auto* pServer = new QLocalServer(this);
    pServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!pServer->listen(m_strSocketPath)) {
        // A socket left behind by a process that ended without cleaning up
        // is taken over.
        if (pServer->serverError() != QAbstractSocket::AddressInUseError
            || !QLocalServer::removeServer(m_strSocketPath) || !pServer->listen(m_strSocketPath)) {
            delete pServer;
            return false;
        }
    }
    m_pServer = pServer;
    m_pReceiver = pReceiver;
    connect(m_pServer, &QLocalServer::newConnection, this, &CLocalSocketInstanceService::OnNewConnection);
    return true;
}

void CLocalSocketInstanceService::StopListening()
{
    if (m_pServer == nullptr)
        return;
    m_pServer->close();
    delete m_pServer;
    m_pServer = nullptr;
    m_pReceiver = nullptr;
}

void CLocalSocketInstanceService::OnNewConnection()
{
    while (QLocalSocket* pSocket = m_pServer->nextPendingConnection()) {
        connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
        connect(pSocket, &QLocalSocket::readyRead, this, [this, pSocket] { OnRequestBytes(pSocket); });
        // A peer that connects and never finishes its request is dropped.
        QTimer::singleShot(m_nAnswerTimeoutMs, pSocket, [pSocket] { pSocket->abort(); });
        OnRequestBytes(pSocket);
    }
}

void CLocalSocketInstanceService::OnRequestBytes(QLocalSocket* pSocket)
{
    if (pSocket->bytesAvailable() < kRequestSize)
        return;
    Request request{};
    if (!Decode(pSocket->read(kRequestSize), &request) || m_pReceiver == nullptr) {
        pSocket->abort();
        return;
    }
    // The receiver may stop listening, which takes the connection with it.
    QPointer<QLocalSocket> pGuard(pSocket);
    qint64 result = 0;
    if (request.kind == RequestKind::Message)
        result = m_pReceiver->OnInstanceMessage(request.message, request.wParam, request.lParam);
    else
        m_pReceiver->OnShowAndActivate();
    if (pGuard.isNull())
        return;

    QByteArray answer;
    QDataStream stream(&answer, QIODevice::WriteOnly);
    stream << result;
    pSocket->write(answer);
    pSocket->disconnectFromServer();
}

std::unique_ptr<IInstanceService> CreateInstanceService(const QString& strName)
{
    return std::make_unique<CLocalSocketInstanceService>(strName);
}
