#include "DesktopWindow.h"

#include "RadioProgram.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>

namespace {
constexpr int kLocatorTimeoutMs = 60000;
}

namespace DesktopWindow {

QSize Size(const QString& strWindow)
{
    const QString strInfo = RunTool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), strWindow});
    const QRegularExpression width(QStringLiteral("Width: (\\d+)"));
    const QRegularExpression height(QStringLiteral("Height: (\\d+)"));
    const QRegularExpressionMatch w = width.match(strInfo);
    const QRegularExpressionMatch h = height.match(strInfo);
    if (!w.hasMatch() || !h.hasMatch())
        return {};
    return {w.captured(1).toInt(), h.captured(1).toInt()};
}

void ClickAt(const QString& strWindow, const QPoint& point)
{
    RunTool(QStringLiteral("xdotool"),
            {QStringLiteral("mousemove"), QStringLiteral("--window"), strWindow, QString::number(point.x()),
             QString::number(point.y()), QStringLiteral("click"), QStringLiteral("1")});
}

void MovePointerAway()
{
    RunTool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("0"), QStringLiteral("0")});
}

QString FocusedWindow()
{
    return RunTool(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus")});
}

QColor ColourAt(const QString& strWindow, const QPoint& point)
{
    const QPixmap shot =
        QGuiApplication::primaryScreen()->grabWindow(strWindow.toULongLong(), point.x(), point.y(), 1, 1);
    return shot.isNull() ? QColor() : shot.toImage().pixelColor(0, 0);
}

bool IsTransientFor(const QString& strWindow, const QString& strOwner)
{
    const QString strProperty =
        RunTool(QStringLiteral("xprop"), {QStringLiteral("-id"), strWindow, QStringLiteral("WM_TRANSIENT_FOR")});
    const QRegularExpression id(QStringLiteral("window id # (0x[0-9a-f]+)"));
    const QRegularExpressionMatch match = id.match(strProperty);
    return match.hasMatch() && match.captured(1).toULongLong(nullptr, 16) == strOwner.toULongLong();
}

}

bool RibbonPlaces::Locate(const QString& strConfigFolder, const QSize& windowSize)
{
    m_places.clear();
    QProcess locator;
    locator.start(QStringLiteral(KESTREL_RIBBON_LOCATOR_PATH),
                  {strConfigFolder, QString::number(windowSize.width()), QString::number(windowSize.height())});
    if (!locator.waitForFinished(kLocatorTimeoutMs) || locator.exitCode() != 0) {
        m_strError = QString::fromLocal8Bit(locator.readAllStandardError());
        return false;
    }
    const QStringList lines = QString::fromLocal8Bit(locator.readAllStandardOutput()).split(QLatin1Char('\n'));
    const QRegularExpression place(QStringLiteral("^(.+) (-?\\d+) (-?\\d+) (\\d+) (\\d+)$"));
    for (const QString& strLine : lines) {
        const QRegularExpressionMatch match = place.match(strLine);
        if (match.hasMatch())
            m_places.insert(match.captured(1),
                            QRect(match.captured(2).toInt(), match.captured(3).toInt(), match.captured(4).toInt(),
                                  match.captured(5).toInt()));
    }
    m_strError = m_places.isEmpty() ? QStringLiteral("the locator named no place") : QString();
    return !m_places.isEmpty();
}
