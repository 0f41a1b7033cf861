#include "platform/instance/LocalSocketInstanceService.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSemaphore>
#include <QThread>
#include <QUuid>
#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The running instance's side, answering on a thread of its own, because
// a sender blocks its own thread while it waits for the answer.
class Receiver : public IInstanceReceiver
{
public:
    std::intptr_t OnInstanceMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        m_message = message;
        m_wParam = wParam;
        m_lParam = lParam;
        ++m_nMessages;
        return 1000 + static_cast<std::intptr_t>(wParam);
    }
    void OnShowAndActivate(const QString& strActivationToken) override
    {
        const std::lock_guard<std::mutex> lock(m_tokenMutex);
        m_tokens << strActivationToken;
        ++m_nActivations;
    }
    QStringList Tokens()
    {
        const std::lock_guard<std::mutex> lock(m_tokenMutex);
        return m_tokens;
    }

    std::atomic<unsigned> m_message{0};
    std::atomic<std::uintptr_t> m_wParam{0};
    std::atomic<std::intptr_t> m_lParam{0};
    std::atomic<int> m_nMessages{0};
    std::atomic<int> m_nActivations{0};
    std::mutex m_tokenMutex;
    QStringList m_tokens;
};

class RunningInstance
{
public:
    explicit RunningInstance(const QString& name)
    {
        m_thread.start();
        m_pService = new CLocalSocketInstanceService(name);
        m_pService->moveToThread(&m_thread);
        QMetaObject::invokeMethod(
            m_pService, [this] { m_bListening = m_pService->Claim(&m_receiver) == InstanceClaim::Listening; },
            Qt::BlockingQueuedConnection);
    }
    ~RunningInstance()
    {
        Release();
        QMetaObject::invokeMethod(
            m_pService, [this] { delete m_pService; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }

    // Keeps the instance from reading its requests until Release, as a long
    // task on its event loop would.
    void Block()
    {
        m_bBlocked = true;
        QMetaObject::invokeMethod(
            m_pService, [this] { m_gate.acquire(); }, Qt::QueuedConnection);
    }
    void Release()
    {
        if (m_bBlocked)
            m_gate.release();
        m_bBlocked = false;
    }

    bool m_bListening = false;
    Receiver m_receiver;

private:
    QThread m_thread;
    CLocalSocketInstanceService* m_pService = nullptr;
    QSemaphore m_gate;
    bool m_bBlocked = false;
};

QString UniqueName()
{
    return QStringLiteral("Kestrel Radio test ") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// A socket file whose listener is gone, or one that is bound but never
// accepts, as a crashed or hung instance leaves them.
int BindRawSocket(const QString& path, bool bListen)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(path);
    std::memcpy(address.sun_path, encoded.constData(), static_cast<size_t>(encoded.size()));
    EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    if (bListen) {
        EXPECT_EQ(listen(fd, 4), 0);
    }
    return fd;
}

TEST(InstanceServiceTest, TheFirstClaimWinsAndItsHolderFindsNoOtherInstance)
{
    const QString name = UniqueName();
    CLocalSocketInstanceService first(name);
    EXPECT_TRUE(first.IsAvailable());
    Receiver receiver;
    EXPECT_EQ(first.Claim(&receiver), InstanceClaim::Listening);
    EXPECT_EQ(first.FindRunningInstance(), nullptr);
    EXPECT_TRUE(QFile::exists(first.LockPath()));

    CLocalSocketInstanceService second(name);
    EXPECT_EQ(second.Claim(&receiver), InstanceClaim::HeldByAnother);
    EXPECT_NE(second.FindRunningInstance(), nullptr);

    first.StopListening();
    EXPECT_FALSE(QFile::exists(first.LockPath()));
    EXPECT_FALSE(QFile::exists(first.SocketPath()));
    EXPECT_EQ(second.Claim(&receiver), InstanceClaim::Listening);
}

TEST(InstanceServiceTest, NamesBelongToTheUserEvenWithoutARuntimeFolder)
{
    const QByteArray previous = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    const QString name = UniqueName();
    CLocalSocketInstanceService service(name);
    qputenv("XDG_RUNTIME_DIR", previous);

    const QFileInfo folder(QFileInfo(service.SocketPath()).path());
    const bool bOwnFolder = folder.ownerId() == getuid() && !(folder.permissions() & QFileDevice::WriteOther) &&
        folder.absoluteFilePath() != QDir(QDir::tempPath()).absolutePath();
    EXPECT_TRUE(bOwnFolder || service.SocketPath().endsWith(QLatin1Char('-') + QString::number(getuid())))
        << service.SocketPath().toStdString();
    Receiver receiver;
    EXPECT_EQ(service.Claim(&receiver), InstanceClaim::Listening);
}

TEST(InstanceServiceTest, MessageReachesTheRunningInstanceAndItsAnswerComesBack)
{
    const QString name = UniqueName();
    RunningInstance running(name);
    ASSERT_TRUE(running.m_bListening);

    CLocalSocketInstanceService second(name);
    std::unique_ptr<IRunningInstance> pFound = second.FindRunningInstance();
    ASSERT_NE(pFound, nullptr);

    std::intptr_t result = 0;
    ASSERT_TRUE(pFound->SendMessage(0x0404, 5, 5, &result));
    EXPECT_EQ(result, 1005);
    EXPECT_EQ(running.m_receiver.m_message, 0x0404u);
    EXPECT_EQ(running.m_receiver.m_wParam, 5u);
    EXPECT_EQ(running.m_receiver.m_lParam, 5);

    // A negative number travels intact in both parameters.
    ASSERT_TRUE(pFound->SendMessage(0x0404, static_cast<std::uintptr_t>(-3), -3, &result));
    EXPECT_EQ(static_cast<std::intptr_t>(running.m_receiver.m_wParam.load()), -3);
    EXPECT_EQ(running.m_receiver.m_lParam, -3);

    ASSERT_TRUE(pFound->ShowAndActivate(QString()));
    EXPECT_EQ(running.m_receiver.m_nActivations, 1);
    EXPECT_EQ(running.m_receiver.m_nMessages, 2);
}

TEST(InstanceServiceTest, TheLaterStartsActivationTokenReachesTheRunningInstance)
{
    const QString name = UniqueName();
    RunningInstance running(name);
    ASSERT_TRUE(running.m_bListening);
    CLocalSocketInstanceService second(name);

    // An xdg-activation token, a startup id with its time stamp and text
    // beyond ASCII, and a start without one.
    const QString strWaylandToken = QStringLiteral("kwin-5f8a0c1e-2b7d-4c9a-9e31-000000000017");
    const QString strStartupId = QStringLiteral("launcher-\u00e9t\u00e9/kestrel-radio/4242-0-host_TIME123456");
    ASSERT_TRUE(second.FindRunningInstance()->ShowAndActivate(strWaylandToken));
    ASSERT_TRUE(second.FindRunningInstance()->ShowAndActivate(strStartupId));
    ASSERT_TRUE(second.FindRunningInstance()->ShowAndActivate(QString()));
    EXPECT_EQ(running.m_receiver.Tokens(), QStringList({strWaylandToken, strStartupId, QString()}));

    // A token longer than any desktop makes goes as none; the window still
    // comes forward.
    ASSERT_TRUE(second.FindRunningInstance()->ShowAndActivate(QString(5000, QLatin1Char('t'))));
    EXPECT_EQ(running.m_receiver.Tokens().size(), 4);
    EXPECT_EQ(running.m_receiver.Tokens().last(), QString());
}

TEST(InstanceServiceTest, SecondListenerUnderTheSameNameIsRefused)
{
    const QString name = UniqueName();
    RunningInstance running(name);
    ASSERT_TRUE(running.m_bListening);
    CLocalSocketInstanceService second(name);
    Receiver receiver;
    EXPECT_EQ(second.Claim(&receiver), InstanceClaim::HeldByAnother);
    // The first one still answers.
    ASSERT_NE(second.FindRunningInstance(), nullptr);
    EXPECT_TRUE(second.FindRunningInstance()->ShowAndActivate(QString()));
}

TEST(InstanceServiceTest, SocketLeftByACrashedInstanceIsTakenOver)
{
    const QString name = UniqueName();
    CLocalSocketInstanceService service(name);
    const int fd = BindRawSocket(service.SocketPath(), false);
    close(fd);
    ASSERT_TRUE(QFile::exists(service.SocketPath()));

    Receiver receiver;
    EXPECT_EQ(service.Claim(&receiver), InstanceClaim::Listening);
    service.StopListening();
    EXPECT_FALSE(QFile::exists(service.SocketPath()));
}

TEST(InstanceServiceTest, HungInstanceMakesTheSenderGiveUpInsteadOfWaitingForever)
{
    const QString name = UniqueName();
    CLocalSocketInstanceService service(name, 300);
    const int fd = BindRawSocket(service.SocketPath(), true);
    std::unique_ptr<IRunningInstance> pFound = service.FindRunningInstance();
    ASSERT_NE(pFound, nullptr);
    EXPECT_FALSE(pFound->SendMessage(0x0404, 1, 1));
    EXPECT_FALSE(pFound->ShowAndActivate(QString()));
    close(fd);
    unlink(QFile::encodeName(service.SocketPath()).constData());
}

TEST(InstanceServiceTest, GarbledRequestIsDroppedAndTheNextOneServed)
{
    const QString name = UniqueName();
    RunningInstance running(name);
    ASSERT_TRUE(running.m_bListening);
    CLocalSocketInstanceService second(name);

    QLocalSocket garbage;
    garbage.connectToServer(second.SocketPath());
    ASSERT_TRUE(garbage.waitForConnected(2000));
    // A whole request's header, which names a token longer than any.
    garbage.write(QByteArray(33, '\x7f'));
    ASSERT_TRUE(garbage.waitForBytesWritten(2000));
    // The instance closes the connection without answering.
    EXPECT_TRUE(garbage.state() == QLocalSocket::UnconnectedState || garbage.waitForDisconnected(2000));
    EXPECT_EQ(garbage.bytesAvailable(), 0);

    ASSERT_NE(second.FindRunningInstance(), nullptr);
    EXPECT_TRUE(second.FindRunningInstance()->SendMessage(0x0404, 9, 9));
    EXPECT_EQ(running.m_receiver.m_nMessages, 1);
}

TEST(InstanceServiceTest, ASenderEarlierThanTheListenerIsServedOnceItListens)
{
    const QString name = UniqueName();
    CLocalSocketInstanceService second(name);
    std::unique_ptr<IRunningInstance> pFound = second.FindRunningInstance();
    ASSERT_NE(pFound, nullptr);
    auto sent = std::async(std::launch::async, [&] { return pFound->ShowAndActivate(QString()); });
    std::this_thread::sleep_for(std::chrono::milliseconds(400));

    RunningInstance running(name);

    ASSERT_TRUE(running.m_bListening);
    EXPECT_TRUE(sent.get());
    EXPECT_EQ(running.m_receiver.m_nActivations, 1);
}

TEST(InstanceServiceTest, ARequestWhoseSenderGaveUpIsDropped)
{
    const QString name = UniqueName();
    RunningInstance running(name);
    ASSERT_TRUE(running.m_bListening);
    running.Block();

    CLocalSocketInstanceService impatient(name, 300);
    EXPECT_FALSE(impatient.FindRunningInstance()->ShowAndActivate(QString()));
    running.Release();

    // The instance reads the abandoned request first, and drops it: the
    // answered one is the only activation.
    CLocalSocketInstanceService patient(name);
    EXPECT_TRUE(patient.FindRunningInstance()->ShowAndActivate(QString()));
    EXPECT_EQ(running.m_receiver.m_nActivations, 1);
}

TEST(InstanceServiceTest, AFailedListenKeepsTheClaimAndSaysTheInstanceCannotBeFound)
{
    // Longer than any local socket's name may be; the lock file has no such limit.
    const QString name = UniqueName() + QString(120, QLatin1Char('x'));
    CLocalSocketInstanceService first(name);
    Receiver receiver;
    EXPECT_EQ(first.Claim(&receiver), InstanceClaim::NotFindable);
    EXPECT_EQ(first.FindRunningInstance(), nullptr);

    CLocalSocketInstanceService second(name);
    EXPECT_EQ(second.Claim(&receiver), InstanceClaim::HeldByAnother);
}

}
