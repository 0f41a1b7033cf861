#include "StationServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

namespace {

constexpr int kStartTimeoutMs = 10000;
constexpr int kStopTimeoutMs = 10000;
const QString kLoopback = QStringLiteral("127.0.0.1");

QString BaseUrlFor(int port)
{
    return QStringLiteral("http://%1:%2").arg(kLoopback).arg(port);
}

}

StationServer::StationServer(StationServerOptions options)
    : m_options(std::move(options))
{
}

StationServer::~StationServer()
{
    Stop();
}

bool StationServer::Start()
{
    if (!m_folder.isValid()) {
        m_error = QStringLiteral("cannot create a temporary folder for the station server");
        return false;
    }
    QStringList arguments{"--listen",      kLoopback,
                          "--port",        "0",
                          "--music-port",  "0",
                          "--promo-port",  "0",
                          "--ready-file",  m_folder.filePath("ready"),
                          "--request-log", m_folder.filePath("requests.log")};
    if (!m_options.catalogueFile.isEmpty())
        arguments << "--catalogue" << m_options.catalogueFile;
    if (!m_options.fault.isEmpty())
        arguments << "--fault" << m_options.fault;
    if (m_options.dropStreamsAfterSeconds > 0)
        arguments << "--drop-streams-after" << QString::number(m_options.dropStreamsAfterSeconds);
    arguments << m_options.extraArguments;

    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->setStandardOutputFile(QProcess::nullDevice());
    m_process->start(QStringLiteral(KESTREL_STATION_SERVER_PATH), arguments);
    if (!m_process->waitForStarted(kStartTimeoutMs)) {
        m_error = QStringLiteral("cannot start %1: %2").arg(KESTREL_STATION_SERVER_PATH, m_process->errorString());
        return false;
    }

    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!deadline.hasExpired()) {
        if (ReadReadyFile())
            return true;
        if (m_process->waitForFinished(20)) {
            m_errorOutput += QString::fromUtf8(m_process->readAllStandardError());
            m_exitCode = m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode() : -1;
            m_error = QStringLiteral("the station server ended with exit code %1: %2")
                          .arg(m_exitCode)
                          .arg(m_errorOutput.trimmed());
            return false;
        }
    }
    m_error = QStringLiteral("the station server did not get ready within %1 ms").arg(kStartTimeoutMs);
    Stop();
    return false;
}

bool StationServer::ReadReadyFile()
{
    QFile file(m_folder.filePath("ready"));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split('=');
        if (parts.size() != 2)
            continue;
        const int port = parts[1].toInt();
        if (parts[0] == "station")
            m_port = port;
        else if (parts[0] == "music")
            m_musicPort = port;
        else if (parts[0] == "promo")
            m_promoPort = port;
    }
    return m_port > 0 && m_musicPort > 0 && m_promoPort > 0;
}

void StationServer::Stop()
{
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return;
    m_process->terminate();
    if (!m_process->waitForFinished(kStopTimeoutMs)) {
        m_process->kill();
        m_process->waitForFinished(kStopTimeoutMs);
    }
    m_errorOutput += QString::fromUtf8(m_process->readAllStandardError());
    m_exitCode = m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode() : -1;
}

QString StationServer::Error() const
{
    return m_error;
}

int StationServer::Port() const
{
    return m_port;
}

int StationServer::MusicPort() const
{
    return m_musicPort;
}

int StationServer::PromoPort() const
{
    return m_promoPort;
}

QString StationServer::BaseUrl() const
{
    return BaseUrlFor(m_port);
}

QString StationServer::MusicBaseUrl() const
{
    return BaseUrlFor(m_musicPort);
}

QString StationServer::PromoBaseUrl() const
{
    return BaseUrlFor(m_promoPort);
}

QString StationServer::Url(const QString& path) const
{
    return BaseUrl() + path;
}

QStringList StationServer::RequestLog() const
{
    QFile file(m_folder.filePath("requests.log"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.isEmpty())
            lines << QString::fromUtf8(line);
    }
    return lines;
}

int StationServer::CountRequests(const QString& path) const
{
    int count = 0;
    for (const QString& line : RequestLog()) {
        const QStringList fields = line.split(QLatin1Char(' '));
        if (fields.size() == 5 && fields[2] == path && fields[4] != QLatin1String("STREAM-START"))
            ++count;
    }
    return count;
}

qint64 StationServer::ProcessId() const
{
    return m_process ? m_process->processId() : 0;
}

int StationServer::ExitCode() const
{
    return m_exitCode;
}

QString StationServer::ErrorOutput() const
{
    return m_errorOutput;
}
