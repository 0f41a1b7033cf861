#include "platform/instance/LocalSocketInstanceService.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <unistd.h>

namespace {

// A request: its kind, a window message and its two parameters, when its
// sender stops waiting, on the system's monotonic clock, which every
// process on the machine shares, and an activation token (its length in
// bytes, then its UTF-8 bytes).
enum class RequestKind : quint8 { Message = 1, ShowAndActivate = 2 };
constexpr qint64 kRequestHeaderSize = 1 + 4 + 8 + 8 + 8 + 4;
constexpr qint64 kAnswerSize = 8;
// Tokens are short; anything longer is not a request of ours.
constexpr quint32 kMaxTokenBytes = 4096;
// How long a sender waits before it tries again to reach an instance that
// holds the lock but does not listen yet.
constexpr int kConnectRetryMs = 50;
const char kLockSuffix[] = ".lock";

struct Request {
    RequestKind kind;
    quint32 message;
    quint64 wParam;
    qint64 lParam;
    qint64 nSenderDeadlineMs;
    QString strToken;
};

QByteArray Encode(const Request& request)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    // A token longer than any desktop makes is no token: the request goes
    // without it.
    QByteArray token = request.strToken.toUtf8();
    if (token.size() > kMaxTokenBytes)
        token.clear();
    stream << static_cast<quint8>(request.kind) << request.message << request.wParam << request.lParam
           << request.nSenderDeadlineMs << static_cast<quint32>(token.size());
    stream.writeRawData(token.constData(), static_cast<int>(token.size()));
    return bytes;
}

// The size of the whole request whose header the bytes begin with; -1 when
// the header names a token longer than any.
qint64 RequestSize(const QByteArray& header)
{
    QDataStream stream(header.mid(kRequestHeaderSize - 4, 4));
    quint32 nTokenBytes = 0;
    stream >> nTokenBytes;
    return nTokenBytes > kMaxTokenBytes ? -1 : kRequestHeaderSize + nTokenBytes;
}

bool Decode(const QByteArray& bytes, Request* pRequest)
{
    QDataStream stream(bytes);
    quint8 kind = 0;
    quint32 nTokenBytes = 0;
    stream >> kind >> pRequest->message >> pRequest->wParam >> pRequest->lParam >> pRequest->nSenderDeadlineMs >>
        nTokenBytes;
    if (stream.status() != QDataStream::Ok || nTokenBytes > kMaxTokenBytes)
        return false;
    QByteArray token(static_cast<qsizetype>(nTokenBytes), Qt::Uninitialized);
    if (stream.readRawData(token.data(), static_cast<int>(nTokenBytes)) != static_cast<int>(nTokenBytes))
        return false;
    pRequest->strToken = QString::fromUtf8(token);
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
        return Ask({RequestKind::Message, message, wParam, lParam, 0, QString()}, pResult);
    }

    bool ShowAndActivate(const QString& strActivationToken) override
    {
        return Ask({RequestKind::ShowAndActivate, 0, 0, 0, 0, strActivationToken}, nullptr);
    }

private:
    // One connection per request: send it, then wait for the answer.
    bool Ask(Request request, std::intptr_t* pResult)
    {
        const QDeadlineTimer deadline(m_nTimeoutMs);
        QLocalSocket socket;
        // An instance that has just taken the lock may not listen yet.
        for (;;) {
            socket.connectToServer(m_strSocketPath);
            if (socket.waitForConnected(static_cast<int>(deadline.remainingTime())))
                break;
            if (deadline.hasExpired())
                return false;
            QThread::msleep(static_cast<unsigned long>(std::min<qint64>(kConnectRetryMs, deadline.remainingTime())));
        }
        request.nSenderDeadlineMs = deadline.deadline();
        socket.write(Encode(request));
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            return false;
        // Given up only once the deadline has passed, which is what the
        // instance checks before it acts: a request it acts on is never one
        // its sender reported as failed.
        while (socket.bytesAvailable() < kAnswerSize) {
            if (deadline.hasExpired())
                return false;
            if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())) &&
                socket.state() != QLocalSocket::ConnectedState && socket.bytesAvailable() < kAnswerSize)
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

// The user's runtime folder; where the system names none the temporary
// folder, with the user in the names, so that no user's instance can stand
// in another's way.
QString InstancePath(const QString& strName)
{
    const QString strRuntime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    QString strFileName = QString(strName).replace(QLatin1Char('/'), QLatin1Char('_'));
    if (!strRuntime.isEmpty())
        return strRuntime + QLatin1Char('/') + strFileName;
    return QDir::tempPath() + QLatin1Char('/') + strFileName + QLatin1Char('-') + QString::number(getuid());
}

}

CLocalSocketInstanceService::CLocalSocketInstanceService(const QString& strName, int nAnswerTimeoutMs)
    : m_strSocketPath(InstancePath(strName))
    , m_strLockPath(m_strSocketPath + QLatin1String(kLockSuffix))
    , m_nAnswerTimeoutMs(nAnswerTimeoutMs)
{
}

CLocalSocketInstanceService::~CLocalSocketInstanceService()
{
    StopListening();
}

bool CLocalSocketInstanceService::IsAvailable() const
{
    return QFileInfo(m_strSocketPath).dir().exists();
}

QString CLocalSocketInstanceService::SocketPath() const
{
    return m_strSocketPath;
}

QString CLocalSocketInstanceService::LockPath() const
{
    return m_strLockPath;
}

InstanceClaim CLocalSocketInstanceService::Claim(IInstanceReceiver* pReceiver)
{
    if (m_pLock == nullptr) {
        // The lock decides, atomically, which of two starts at the same
        // moment runs; the lock of a process that died is taken over.
        auto pLock = std::make_unique<QLockFile>(m_strLockPath);
        // A lock is stale only when its process is gone, however old it is.
        pLock->setStaleLockTime(0);
        if (!pLock->tryLock(0))
            return pLock->error() == QLockFile::LockFailedError ? InstanceClaim::HeldByAnother
                                                                : InstanceClaim::NotFindable;
        m_pLock = std::move(pLock);
    }
    m_pReceiver = pReceiver;
    if (m_pServer != nullptr)
        return InstanceClaim::Listening;
    auto* pServer = new QLocalServer(this);
    pServer->setSocketOptions(QLocalServer::UserAccessOption);
    // Whoever holds the lock is the only one listening here, so a socket in
    // the way was left by an instance that was killed.
    QLocalServer::removeServer(m_strSocketPath);
    if (!pServer->listen(m_strSocketPath)) {
        delete pServer;
        return InstanceClaim::NotFindable;
    }
    m_pServer = pServer;
    connect(m_pServer, &QLocalServer::newConnection, this, &CLocalSocketInstanceService::OnNewConnection);
    return InstanceClaim::Listening;
}

std::unique_ptr<IRunningInstance> CLocalSocketInstanceService::FindRunningInstance()
{
    if (m_pLock != nullptr)
        return nullptr;
    return std::make_unique<CLocalSocketRunningInstance>(m_strSocketPath, m_nAnswerTimeoutMs);
}

void CLocalSocketInstanceService::StopListening()
{
    if (m_pServer != nullptr) {
        m_pServer->close();
        delete m_pServer;
        m_pServer = nullptr;
    }
    m_pReceiver = nullptr;
    m_pLock.reset();
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
    if (pSocket->bytesAvailable() < kRequestHeaderSize)
        return;
    const qint64 nRequestSize = RequestSize(pSocket->peek(kRequestHeaderSize));
    if (nRequestSize < 0) {
        pSocket->abort();
        return;
    }
    if (pSocket->bytesAvailable() < nRequestSize)
        return;
    Request request{};
    if (!Decode(pSocket->read(nRequestSize), &request) || m_pReceiver == nullptr) {
        pSocket->abort();
        return;
    }
    // A request read after its sender gave up (this instance was busy) is
    // dropped: a window must not jump to the front long after the start
    // that asked for it has ended.
    if (QDeadlineTimer::current().deadline() >= request.nSenderDeadlineMs) {
        pSocket->abort();
        return;
    }
    // The receiver may stop listening, which takes the connection with it.
    QPointer<QLocalSocket> pGuard(pSocket);
    qint64 result = 0;
    if (request.kind == RequestKind::Message)
        result = m_pReceiver->OnInstanceMessage(request.message, request.wParam, request.lParam);
    else
        m_pReceiver->OnShowAndActivate(request.strToken);
    if (pGuard.isNull())
        return;

    QByteArray answer;
    QDataStream stream(&answer, QIODevice::WriteOnly);
    stream << result;
    pSocket->write(answer);
    pSocket->disconnectFromServer();
}
