#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// How a test wants its station server. Every member has a default, so that
// a brace list may name only some of them ({.fault = "status=404"}).
struct StationServerOptions {
    QString catalogueFile = {};  // empty: the demo catalogue
    QString fault = {};  // empty: none; else as --fault
    int dropStreamsAfterSeconds = 0;
    QStringList extraArguments = {};  // any further command-line options
};

// A kestrel-station-server of the test's own on free loopback ports, with a
// request log that the test can read. Stopped (SIGTERM) when destroyed.
class StationServer
{
public:
    explicit StationServer(StationServerOptions options = {});
    ~StationServer();  // Stop()
    StationServer(const StationServer&) = delete;
    StationServer& operator=(const StationServer&) = delete;

    bool Start();  // false with Error() set
    void Stop();  // SIGTERM, waits
    QString Error() const;

    int Port() const;
    int MusicPort() const;
    int PromoPort() const;
    QString BaseUrl() const;  // "http://127.0.0.1:PORT"
    QString MusicBaseUrl() const;
    QString PromoBaseUrl() const;
    QString Url(const QString& path) const;

    QStringList RequestLog() const;  // the log's lines so far
    int CountRequests(const QString& path) const;  // completed lines for that path

    // The server's process id while it runs, for tests that signal it.
    qint64 ProcessId() const;
    // The server's exit code after Stop(); -1 while it runs or if it crashed.
    int ExitCode() const;
    // What the server wrote on stderr so far.
    QString ErrorOutput() const;

private:
    bool ReadReadyFile();

    StationServerOptions m_options;
    QTemporaryDir m_folder;
    std::unique_ptr<QProcess> m_process;
    QString m_error;
    QString m_errorOutput;
    int m_port = 0;
    int m_musicPort = 0;
    int m_promoPort = 0;
    int m_exitCode = -1;
};
