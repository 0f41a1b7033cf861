#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include "StreamLog.h"

class StationServer;

// The real kestrel-radio, run from outside against a station server, with a
// profile and data folder of its own. It is seen the way a user and the
// system see it: its window by title, keys typed on the display, its profile
// file, the server's request log and the sound at the test sink.
class RadioProgram
{
public:
    explicit RadioProgram(const StationServer& server);
    ~RadioProgram();
    RadioProgram(const RadioProgram&) = delete;
    RadioProgram& operator=(const RadioProgram&) = delete;

    // A value in the profile before the start, as "Settings/LastChannelIndex".
    void Preset(const QString& strKey, const QVariant& value);
    // A variable of the program's environment, set before the start.
    void SetEnvironment(const QString& strName, const QString& strValue);
    // A variable of the test's environment that the program does not get.
    void UnsetEnvironment(const QString& strName);
    bool Start(const QStringList& arguments = {});
    // Starts a command line of the test's choosing (a launcher that starts
    // the program) in the program's environment; what it writes on its
    // standard error goes to a file in the home folder.
    bool StartCommand(const QStringList& command);
    bool IsRunning() const;
    // Waits for the program to end by itself.
    bool WaitForEnd(int nTimeoutMs);
    // Whether the program ended by itself with the exit code 0.
    bool EndedCleanly() const;
    // The program's own folder under which its XDG folders lie.
    QString HomeFolder() const { return m_home.path(); }

    // A value of the profile as the program has written it.
    int ProfileInt(const QString& strKey, int nDefault) const;
    // Types keys (xdotool names, as "F9") into the program's main window.
    bool TypeKey(const QString& strKey);
    // The main window's X id while it is the only visible main window of
    // its title (dialogs and message boxes do not count); empty when it does
    // not show within nTimeoutMs.
    QString MainWindow(int nTimeoutMs = 15000) const;
    // Whether a main window of the program's title is mapped now.
    bool HasVisibleWindow() const;
    // What the program wrote on its standard error so far.
    QString ErrorOutput();
    // Asks the program to end (SIGTERM) and waits; true when it ended
    // cleanly.
    bool Stop();
    QProcessEnvironment Environment() const { return m_process.processEnvironment(); }

private:
    QString ProfileFile() const;

    QTemporaryDir m_home;
    QProcess m_process;
    QString m_strErrorOutput;
};
// Runs an external tool and returns its standard output, trimmed.
QString RunTool(const QString& strProgram, const QStringList& arguments);
// The X ids of the visible windows titled with the program's title, its
// dialogs and message boxes included.
QStringList VisibleProgramWindows();
