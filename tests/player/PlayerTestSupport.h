#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTcpServer>

class QWidget;

namespace PlayerTestSupport {
// Records what reaches the test's null sink "kestrel_test" for the given
// time and returns the loudest sample, 0 (silence) to 1 (full scale); -1 when
// the recorder does not start. A sink that nobody plays to gives no samples
// at all, which is silence too.
double RecordPeakLevel(int nMilliseconds);
// What the screen shows where the widget is, as the X server has it, so that
// a native child window's pictures are included.
QImage GrabFromScreen(const QWidget& widget);
// How many different colours the image holds, up to nLimit.
int CountColours(const QImage& image, int nLimit = 64);
// Whether the image shows the TV demo's colour bars: each of their six
// colours (yellow, cyan, green, magenta, red, blue) over at least
// nMinimumPixels of it.
bool ShowsColourBars(const QImage& image, int nMinimumPixels = 200);
// Whether a GL driver (Mesa's DRI drivers, and LLVM with the software one)
// is loaded into the process ("self", or a process id).
bool HasGlDriverLoaded(const QString& strProcess = QStringLiteral("self"));
// A loopback port that nothing listens on.
int ClosedPort();
// Names the folder as the user's music folder in the user's folder
// settings (user-dirs.dirs); false when they could not be written.
[[nodiscard]] bool SetMusicFolder(const QString& strFolder);
}

// A small HTTP server on the loopback interface for pages and playlists that
// the station server does not serve.
class CFixedPagesServer : public QTcpServer
{
    Q_OBJECT

public:
    bool Start();
    void Serve(const QString& path, const QByteArray& contentType, const QByteArray& body);
    // Answers the path with exactly these bytes, status line and headers
    // included, and closes the connection.
    void ServeAnswer(const QString& path, const QByteArray& answer);
    QString Url(const QString& path) const;
    QStringList RequestedPaths() const { return m_requested; }

private:
    void Answer();

    struct Page {
        QByteArray contentType;
        QByteArray body;
    };
    QHash<QString, Page> m_pages;
    QHash<QString, QByteArray> m_answers;
    QStringList m_requested;
};
