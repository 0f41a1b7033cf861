#pragma once

#include "platform/instance/InstanceService.h"

#include <QObject>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// The single instance over a lock file and a local socket in the user's
// runtime folder, both named after the application (and after the user too
// when the system names no runtime folder of the user's own). A request is
// one small record that says until when its sender waits; the answer is the
// receiver's result.
class CLocalSocketInstanceService : public QObject, public IInstanceService
{
    Q_OBJECT

public:
    // nAnswerTimeoutMs: how long a sender tries to reach the running
    // instance and waits for its answer.
    explicit CLocalSocketInstanceService(const QString& strName, int nAnswerTimeoutMs = 5000);
    ~CLocalSocketInstanceService() override;

    bool IsAvailable() const override;
    InstanceClaim Claim(IInstanceReceiver* pReceiver) override;
    std::unique_ptr<IRunningInstance> FindRunningInstance() override;
    void StopListening() override;

    // The socket's and the lock's full paths.
    QString SocketPath() const;
    QString LockPath() const;

private:
    void OnNewConnection();
    void OnRequestBytes(QLocalSocket* pSocket);

    QString m_strSocketPath;
    QString m_strLockPath;
    int m_nAnswerTimeoutMs;
    std::unique_ptr<QLockFile> m_pLock;
    QLocalServer* m_pServer = nullptr;
    IInstanceReceiver* m_pReceiver = nullptr;
};
