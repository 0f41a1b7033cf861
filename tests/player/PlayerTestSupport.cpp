#include "PlayerTestSupport.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace PlayerTestSupport {

double RecordPeakLevel(int nMilliseconds)
{
    QProcess recorder;
    recorder.start(
        "parec",
        {"-d", "kestrel_test.monitor", "--raw", "--format=s16le", "--rate=44100", "--channels=2", "--latency-msec=20"});
    if (!recorder.waitForStarted(5000))
        return -1;
    QTest::qWait(nMilliseconds);
    recorder.terminate();
    recorder.waitForFinished(5000);
    const QByteArray samples = recorder.readAllStandardOutput();
    int nPeak = 0;
    for (qsizetype i = 0; i + 1 < samples.size(); i += 2) {
        std::int16_t sample = 0;
        std::memcpy(&sample, samples.constData() + i, sizeof sample);
        nPeak = std::max(nPeak, std::abs(static_cast<int>(sample)));
    }
    return nPeak / 32768.0;
}

QImage GrabFromScreen(const QWidget& widget)
{
    const QPoint origin = widget.mapToGlobal(QPoint(0, 0));
    QScreen* pScreen = widget.screen() != nullptr ? widget.screen() : QGuiApplication::primaryScreen();
    return pScreen->grabWindow(0, origin.x(), origin.y(), widget.width(), widget.height()).toImage();
}

int CountColours(const QImage& image, int nLimit)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            colours.insert(image.pixel(x, y));
            if (colours.size() >= nLimit)
                return nLimit;
        }
    }
    return colours.size();
}

bool ShowsColourBars(const QImage& image, int nMinimumPixels)
{
    // The bars at three quarters of full level, as the demo's source makes
    // them; the decoder and the scaler move each channel a little.
    static const QRgb kBars[] = {qRgb(191, 191, 0), qRgb(0, 191, 191), qRgb(0, 191, 0),
                                 qRgb(191, 0, 191), qRgb(191, 0, 0),   qRgb(0, 0, 191)};
    constexpr int kTolerance = 48;
    int counts[std::size(kBars)] = {};
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* pLine = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            for (std::size_t i = 0; i < std::size(kBars); ++i) {
                if (qAbs(qRed(pLine[x]) - qRed(kBars[i])) <= kTolerance &&
                    qAbs(qGreen(pLine[x]) - qGreen(kBars[i])) <= kTolerance &&
                    qAbs(qBlue(pLine[x]) - qBlue(kBars[i])) <= kTolerance)
                    ++counts[i];
            }
        }
    }
    return std::all_of(std::begin(counts), std::end(counts), [&](int n) { return n >= nMinimumPixels; });
}

bool HasGlDriverLoaded(const QString& strProcess)
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(strProcess));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = maps.readAll();
    return text.contains("_dri.so") || text.contains("libLLVM") || text.contains("libgallium");
}

int ClosedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int nPort = probe.serverPort();
    probe.close();
    return nPort;
}

bool SetMusicFolder(const QString& strFolder)
{
    QFile userDirs(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                   QStringLiteral("/user-dirs.dirs"));
    return userDirs.open(QIODevice::WriteOnly) &&
        userDirs.write(QStringLiteral("XDG_MUSIC_DIR=\"%1\"\n").arg(strFolder).toUtf8()) > 0;
}
}

bool CFixedPagesServer::Start()
{
    connect(this, &QTcpServer::newConnection, this, &CFixedPagesServer::Answer);
    return listen(QHostAddress::LocalHost, 0);
}

void CFixedPagesServer::Serve(const QString& path, const QByteArray& contentType, const QByteArray& body)
{
    m_pages.insert(path, Page{contentType, body});
}

void CFixedPagesServer::ServeAnswer(const QString& path, const QByteArray& answer)
{
    m_answers.insert(path, answer);
}

QString CFixedPagesServer::Url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
}

void CFixedPagesServer::Answer()
{
    while (QTcpSocket* pSocket = nextPendingConnection()) {
        connect(pSocket, &QTcpSocket::disconnected, pSocket, &QObject::deleteLater);
        connect(pSocket, &QTcpSocket::readyRead, this, [this, pSocket] {
            const QByteArray request = pSocket->peek(8192);
            if (!request.contains("\r\n\r\n"))
                return;
            pSocket->readAll();
            const QString path = QString::fromLatin1(request.split(' ').value(1));
            m_requested.append(path);
            const auto page = m_pages.constFind(path);
            QByteArray answer;
            if (m_answers.contains(path)) {
                answer = m_answers.value(path);
            } else if (page == m_pages.constEnd()) {
                answer = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
            } else {
                answer = "HTTP/1.1 200 OK\r\nContent-Type: " + page->contentType +
                    "\r\nContent-Length: " + QByteArray::number(page->body.size()) + "\r\nConnection: close\r\n\r\n" +
                    page->body;
            }
            pSocket->write(answer);
            pSocket->disconnectFromHost();
        });
    }
}
