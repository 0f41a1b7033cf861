#include "LocalWebServer.h"

#include <QProcess>
#include <httplib.h>

namespace {
const char kLoopback[] = "127.0.0.1";
}

LocalWebServer::LocalWebServer()
    : m_pServer(std::make_unique<httplib::Server>())
    , m_strScheme(QStringLiteral("http"))
{
}

LocalWebServer::LocalWebServer(const QString& strCertificateFile, const QString& strKeyFile)
    : m_pServer(std::make_unique<httplib::SSLServer>(qPrintable(strCertificateFile), qPrintable(strKeyFile)))
    , m_strScheme(QStringLiteral("https"))
{
}

LocalWebServer::~LocalWebServer()
{
    m_bStopping = true;
    m_pServer->stop();
    if (m_thread.joinable())
        m_thread.join();
}

bool LocalWebServer::Start()
{
    if (!m_pServer->is_valid())
        return false;
    m_nPort = m_pServer->bind_to_any_port(kLoopback);
    if (m_nPort <= 0)
        return false;
    // The socket listens from here on; the thread only accepts.
    m_thread = std::thread([this] { m_pServer->listen_after_bind(); });
    // Until it runs, stopping the server would not end the thread.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!m_pServer->is_running() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return m_pServer->is_running();
}

QString LocalWebServer::Url(const QString& strPath) const
{
    return QStringLiteral("%1://%2:%3%4").arg(m_strScheme, QLatin1String(kLoopback)).arg(m_nPort).arg(strPath);
}

void LocalWebServer::HoldBack(std::chrono::milliseconds duration) const
{
    const auto end = std::chrono::steady_clock::now() + duration;
    while (!m_bStopping && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

bool MakeLoopbackCertificate(const QString& strCertificateFile, const QString& strKeyFile)
{
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj", "/CN=localhost", "-addext",
                   "subjectAltName=IP:127.0.0.1,DNS:localhost", "-keyout", strKeyFile, "-out", strCertificateFile});
    return openssl.waitForFinished(60000) && openssl.exitStatus() == QProcess::NormalExit && openssl.exitCode() == 0;
}
