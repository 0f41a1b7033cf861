#pragma once

#include "platform/instance/InstanceService.h"

#include <QObject>

class QLocalServer;
class QLocalSocket;

// The single instance over a local socket in the user's runtime folder,
// named after the application. A request is one small record; the answer
// is the receiver's result.
class CLocalSocketInstanceService : public QObject, public IInstanceService
{
    Q_OBJECT

public:
    // nAnswerTimeoutMs: how long a sender waits for the running instance.
    explicit CLocalSocketInstanceService(const QString& strName, int nAnswerTimeoutMs = 5000);
    ~CLocalSocketInstanceService() override;

    bool IsAvailable() const override;
    std::unique_ptr<IRunningInstance> FindRunningInstance() override;
    bool Listen(IInstanceReceiver* pReceiver) override;
    void StopListening() override;

    // The socket's full path.
    QString SocketPath() const;

private:
    void OnNewConnection();
    void OnRequestBytes(QLocalSocket* pSocket);
    bool IsSomeoneListening() const;

    QString m_strSocketPath;
    int m_nAnswerTimeoutMs;
    QLocalServer* m_pServer = nullptr;
    IInstanceReceiver* m_pReceiver = nullptr;
};
