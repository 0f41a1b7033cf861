#pragma once

#include <QString>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace httplib {
class Server;
}

// A small web server of the test's own on a free loopback port, plain or
// TLS, for answers the station server does not give: redirects, chunked
// bodies, slow answers, captured request headers.
class LocalWebServer
{
public:
    // Plain HTTP.
    LocalWebServer();
    // TLS with the certificate and key in these PEM files.
    LocalWebServer(const QString& strCertificateFile, const QString& strKeyFile);
    ~LocalWebServer();
    LocalWebServer(const LocalWebServer&) = delete;
    LocalWebServer& operator=(const LocalWebServer&) = delete;

    // Routes are added before Start.
    httplib::Server& Routes() { return *m_pServer; }
    bool Start();
    QString Url(const QString& strPath) const;

    // For a handler that must hold an answer back: sleeps for the time or
    // until the server is being stopped, so that stopping never waits on it.
    void HoldBack(std::chrono::milliseconds duration) const;

private:
    std::unique_ptr<httplib::Server> m_pServer;
    QString m_strScheme;
    int m_nPort = 0;
    std::atomic<bool> m_bStopping = false;
    std::thread m_thread;
};

// Makes a self-signed certificate for 127.0.0.1 and localhost with the
// openssl tool; false when that fails.
bool MakeLoopbackCertificate(const QString& strCertificateFile, const QString& strKeyFile);
