#pragma once

#include <QProcess>
#include <QString>

// A real XEmbed notification area on the test's display: Debian's trayer,
// a small panel whose tray takes the icons of programs that start after it.
// The icons are found by the class of the program that owns them.
class TrayHost
{
public:
    TrayHost();
    ~TrayHost();
    TrayHost(const TrayHost&) = delete;
    TrayHost& operator=(const TrayHost&) = delete;

    // False when trayer did not start or took no tray selection.
    bool Start();
    void Stop();
    bool IsRunning() const;

    // The X id of the icon that the program of this window class docked
    // in the panel; empty when there is none within nTimeoutMs.
    QString IconWindow(const QString& strClass, int nTimeoutMs = 10000) const;
    // Whether the panel holds an icon of the class now.
    bool HasIcon(const QString& strClass) const;

private:
    QString PanelWindow() const;

    QProcess m_process;
};

namespace XTools {
// Clicks a mouse button on the window, nCount times in quick succession.
void Click(const QString& strWindow, int nButton, int nCount = 1);
// Rests the pointer on the window.
void MoveOnto(const QString& strWindow);
// Types keys (xdotool names) into whatever has the keyboard now.
void Keys(const QStringList& keys);
// Clicks a mouse button on the window; true once a new menu of the program
// of this window class shows, within nTimeoutMs.
bool ClickForMenu(const QString& strWindow, int nButton, const QString& strClass, int nTimeoutMs = 10000);
// The process that owns the window; 0 when it is not known.
qint64 WindowPid(const QString& strWindow);
// SendCloseRequest for a window id as xdotool prints it.
bool SendDeleteWindow(const QString& strWindow);
}
