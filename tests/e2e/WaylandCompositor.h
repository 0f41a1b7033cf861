#pragma once

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QTemporaryDir>

// A Wayland session of the test's own: weston 10 drawing with pixman and
// showing its screen in a window of the test's X display, which it needs
// (DISPLAY), and from which it takes the pointer, so that a click there
// reaches its clients as a user's would. Its socket lies in the test's
// private runtime folder; the desktop is plain black under an invisible
// pointer (a program shows its own pointer over its window only), so that a
// screenshot shows the windows and nothing else. Started with --debug, it
// lets weston-screenshooter take pictures of what it shows.
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
    // Moves the pointer to the point of the screen and clicks the left
    // button there.
    void Click(const QPoint& point);
    QString Log();

    // The smallest rectangle holding everything that is not the desktop's
    // black: the windows shown.
    static QRect DrawnArea(const QImage& screen);

private:
    bool WriteConfiguration();
    void MovePointer(const QPoint& point, const QStringList& then = {});

    QTemporaryDir m_folder;
    QProcess m_process;
    QString m_strSocket;
    // Weston's window on the X display.
    QString m_strWindow;
    QString m_strLog;
};
