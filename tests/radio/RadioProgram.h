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
    // Starts the program with the given arguments after its name.
    bool Start(const QStringList& arguments = {});
    bool IsRunning() const;
    // Asks the program to end (SIGTERM) and waits; true when it ended
    // normally.
    bool Stop();
    // Waits for the program to end by itself; true when it did.
    bool WaitForExit(int nTimeoutMs);
    // Replaces a variable of the program's environment for the next start.
    void SetEnvironment(const QString& strName, const QString& strValue);
    QProcessEnvironment Environment() const { return m_process.processEnvironment(); }
    // The folder that holds the program's profile.
    QString ConfigFolder() const;

    // A value of the profile as the program has written it.
    int ProfileInt(const QString& strKey, int nDefault) const;
    // Types keys (xdotool names, as "F9") into the program's main window.
    bool TypeKey(const QString& strKey);
    // What the program wrote on its standard error so far.
    QString ErrorOutput();

    QString ProfileFile() const;
    // The main window's X id, once it is the only visible window of the title.
    QString MainWindow() const;

private:

    QTemporaryDir m_home;
    QProcess m_process;
    QString m_strErrorOutput;
};
// Runs an external tool and returns its standard output, trimmed.
QString RunTool(const QString& strProgram, const QStringList& arguments);
// The X ids of the visible windows titled with the program's title.
QStringList VisibleProgramWindows();
