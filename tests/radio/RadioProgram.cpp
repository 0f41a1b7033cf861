#include "RadioProgram.h"

#include "StationServer.h"
#include "download/ServerAddresses.h"
#include "res/ProductInfo.h"

#include <QDir>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

namespace {
constexpr int kStartTimeoutMs = 10000;
constexpr int kEndTimeoutMs = 10000;

// Whether the X window is a main window. The download dialog and the
// message boxes carry the program's title too; they are of the dialog type.
// A window that has gone meanwhile has no type and is none.
bool IsMainWindow(const QString& strWindow)
{
    const QString strTypes =
        RunTool(QStringLiteral("xprop"), {QStringLiteral("-id"), strWindow, QStringLiteral("_NET_WM_WINDOW_TYPE")});
    return strTypes.startsWith(QLatin1String("_NET_WM_WINDOW_TYPE(ATOM) = ")) &&
        !strTypes.contains(QLatin1String("_NET_WM_WINDOW_TYPE_DIALOG"));
}

QStringList VisibleMainWindows()
{
    QStringList windows = VisibleProgramWindows();
    windows.removeIf([](const QString& strWindow) { return !IsMainWindow(strWindow); });
    return windows;
}
}

RadioProgram::RadioProgram(const StationServer& server)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(kRadioServerVariable), server.BaseUrl());
    environment.insert(QLatin1String(kMusicSiteVariable), server.MusicBaseUrl());
    environment.insert(QLatin1String(kPromoSiteVariable), server.PromoBaseUrl());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
    m_process.setProcessEnvironment(environment);
    m_process.setStandardOutputFile(QProcess::nullDevice());
}

void RadioProgram::SetEnvironment(const QString& strName, const QString& strValue)
{
    QProcessEnvironment environment = m_process.processEnvironment();
    environment.insert(strName, strValue);
    m_process.setProcessEnvironment(environment);
}

void RadioProgram::UnsetEnvironment(const QString& strName)
{
    QProcessEnvironment environment = m_process.processEnvironment();
    environment.remove(strName);
    m_process.setProcessEnvironment(environment);
}

RadioProgram::~RadioProgram()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(kEndTimeoutMs))
        m_process.kill();
    m_process.waitForFinished(kEndTimeoutMs);
}

QString RadioProgram::ProfileFile() const
{
    return m_home.filePath(
        QStringLiteral("config/%1/%2.ini").arg(ProductInfo::MakerDomain(), ProductInfo::ApplicationTitle()));
}

void RadioProgram::Preset(const QString& strKey, const QVariant& value)
{
    QSettings profile(ProfileFile(), QSettings::IniFormat);
    profile.setValue(strKey, value);
}

bool RadioProgram::Start(const QStringList& arguments)
{
    return StartCommand(QStringList{QStringLiteral(KESTREL_RADIO_PATH)} + arguments);
}

bool RadioProgram::StartCommand(const QStringList& command)
{
    // A launcher ends before the program it starts: the program must not
    // write into a pipe that closes with the launcher.
    if (command.first() != QStringLiteral(KESTREL_RADIO_PATH))
        m_process.setStandardErrorFile(m_home.filePath(QStringLiteral("launched-program.log")));
    m_process.start(command.first(), command.mid(1));
    return m_process.waitForStarted(kStartTimeoutMs);
}

bool RadioProgram::WaitForEnd(int nTimeoutMs)
{
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(nTimeoutMs);
}

bool RadioProgram::EndedCleanly() const
{
    return m_process.state() == QProcess::NotRunning && m_process.exitStatus() == QProcess::NormalExit &&
        m_process.exitCode() == 0;
}

bool RadioProgram::IsRunning() const
{
    return m_process.state() == QProcess::Running;
}

int RadioProgram::ProfileInt(const QString& strKey, int nDefault) const
{
    const QSettings profile(ProfileFile(), QSettings::IniFormat);
    bool bOk = false;
    const int nValue = profile.value(strKey).toInt(&bOk);
    return bOk ? nValue : nDefault;
}

bool RadioProgram::HasVisibleWindow() const
{
    return !VisibleMainWindows().isEmpty();
}

QString RadioProgram::MainWindow(int nTimeoutMs) const
{
    QString strWindow;
    const bool bFound = QTest::qWaitFor(
        [&] {
            const QStringList windows = VisibleMainWindows();
            strWindow = windows.size() == 1 ? windows.first() : QString();
            return !strWindow.isEmpty();
        },
        nTimeoutMs);
    return bFound ? strWindow : QString();
}

bool RadioProgram::TypeKey(const QString& strKey)
{
    const QString strWindow = MainWindow();
    if (strWindow.isEmpty())
        return false;
    RunTool(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), strWindow});
    RunTool(QStringLiteral("xdotool"), {QStringLiteral("key"), strKey});
    return true;
}

QString RadioProgram::ErrorOutput()
{
    m_strErrorOutput += QString::fromLocal8Bit(m_process.readAllStandardError());
    return m_strErrorOutput;
}

QString RunTool(const QString& strProgram, const QStringList& arguments)
{
    QProcess process;
    process.start(strProgram, arguments);
    process.waitForFinished(kStartTimeoutMs);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

bool RadioProgram::Stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return false;
    m_process.terminate();
    ErrorOutput();
    return WaitForEnd(kEndTimeoutMs) && EndedCleanly();
}

QStringList VisibleProgramWindows()
{
    const QString strPattern = QLatin1Char('^') + QRegularExpression::escape(ProductInfo::ApplicationTitle()) + '$';
    return RunTool(QStringLiteral("xdotool"),
                   {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), strPattern})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
