#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QTemporaryDir>

// A Wayland session of the test's own: weston 10 on its headless back-end,
// drawing with pixman, its socket in the test's private runtime folder, on
// a plain black desktop. Started with --debug, it lets weston-screenshooter
// take pictures of what it shows.
class WaylandCompositor
{
public:
    WaylandCompositor() = default;
    ~WaylandCompositor();
    WaylandCompositor(const WaylandCompositor&) = delete;
    WaylandCompositor& operator=(const WaylandCompositor&) = delete;

    bool Start();
    // What a client puts in WAYLAND_DISPLAY to reach it.
    QString SocketName() const { return m_strSocket; }
    // What the screen shows now; a null image when no picture came.
    QImage Screenshot();
    QString Log();

    // The smallest rectangle holding everything that is not the desktop's
    // black: the windows shown.
    static QRect DrawnArea(const QImage& screen);

private:
    QTemporaryDir m_folder;
    QProcess m_process;
    QString m_strSocket;
    QString m_strLog;
};
