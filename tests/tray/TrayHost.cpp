#include "TrayHost.h"

#include "CloseRequest.h"

#include <QRegularExpression>
#include <QTest>
#include <algorithm>

namespace {
constexpr int kToolTimeoutMs = 10000;
const QString kTrayerClass = QStringLiteral("trayer");

QString Tool(const QString& strProgram, const QStringList& arguments)
{
    QProcess process;
    process.start(strProgram, arguments);
    process.waitForFinished(kToolTimeoutMs);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// The windows below strRoot with the class, from xwininfo's tree.
QStringList WindowsOfClass(const QString& strRoot, const QString& strClass)
{
    const QString strTree = Tool(QStringLiteral("xwininfo"), {QStringLiteral("-tree"), QStringLiteral("-id"), strRoot});
    const QRegularExpression line(
        QStringLiteral("^\\s*(0x[0-9a-f]+) .*\\(\"[^\"]*\" \"%1\"\\)").arg(QRegularExpression::escape(strClass)),
        QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    QStringList windows;
    for (auto match = line.globalMatch(strTree); match.hasNext();)
        windows.append(match.next().captured(1));
    return windows;
}
}

TrayHost::TrayHost() = default;

TrayHost::~TrayHost()
{
    Stop();
}

bool TrayHost::Start()
{
    m_process.setProgram(QStringLiteral("trayer"));
    m_process.setArguments({QStringLiteral("--edge"), QStringLiteral("bottom"), QStringLiteral("--align"),
                            QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("request"),
                            QStringLiteral("--height"), QStringLiteral("24")});
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.start();
    if (!m_process.waitForStarted(kToolTimeoutMs))
        return false;
    return QTest::qWaitFor([this] { return !PanelWindow().isEmpty(); }, kToolTimeoutMs);
}

void TrayHost::Stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(kToolTimeoutMs))
        m_process.kill();
    m_process.waitForFinished(kToolTimeoutMs);
}

bool TrayHost::IsRunning() const
{
    return m_process.state() == QProcess::Running;
}

QString TrayHost::PanelWindow() const
{
    // The panel is the trayer window that its tray's sockets live in.
    const QStringList panels =
        Tool(QStringLiteral("xdotool"),
             {QStringLiteral("search"), QStringLiteral("--classname"), QStringLiteral("^panel$")})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& strPanel : panels) {
        const QString strHex = QStringLiteral("0x%1").arg(strPanel.toULongLong(), 0, 16);
        if (Tool(QStringLiteral("xprop"), {QStringLiteral("-id"), strHex, QStringLiteral("WM_CLASS")})
                .contains(kTrayerClass))
            return strHex;
    }
    return QString();
}

QString TrayHost::IconWindow(const QString& strClass, int nTimeoutMs) const
{
    QString strIcon;
    const bool bFound = QTest::qWaitFor(
        [&] {
            const QString strPanel = PanelWindow();
            const QStringList icons = strPanel.isEmpty() ? QStringList() : WindowsOfClass(strPanel, strClass);
            strIcon = icons.isEmpty() ? QString() : icons.first();
            return !strIcon.isEmpty();
        },
        nTimeoutMs);
    return bFound ? strIcon : QString();
}

bool TrayHost::HasIcon(const QString& strClass) const
{
    const QString strPanel = PanelWindow();
    return !strPanel.isEmpty() && !WindowsOfClass(strPanel, strClass).isEmpty();
}

namespace XTools {

void Click(const QString& strWindow, int nButton, int nCount)
{
    Tool(
        QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), QStringLiteral("--window"), strWindow, QStringLiteral("8"), QStringLiteral("8")});
    Tool(QStringLiteral("xdotool"),
         {QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(nCount), QStringLiteral("--delay"),
          QStringLiteral("60"), QString::number(nButton)});
}

void MoveOnto(const QString& strWindow)
{
    // From elsewhere, so that the window sees the pointer arrive and move.
    Tool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("0"), QStringLiteral("0")});
    for (const char* position : {"6", "8"})
        Tool(QStringLiteral("xdotool"),
             {QStringLiteral("mousemove"), QStringLiteral("--window"), strWindow, QLatin1String(position),
              QLatin1String(position)});
}

void Keys(const QStringList& keys)
{
    Tool(QStringLiteral("xdotool"),
         QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("80")} + keys);
}

bool ClickForMenu(const QString& strWindow, int nButton, const QString& strClass, int nTimeoutMs)
{
    const auto visibleWindows = [&strClass] {
        return Tool(QStringLiteral("xdotool"),
                    {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--class"), strClass})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    };
    const QStringList before = visibleWindows();
    Click(strWindow, nButton);
    // A menu is a window the desktop does not manage: it shows on top of
    // everything, where the program puts it.
    return QTest::qWaitFor(
        [&] {
            const QStringList now = visibleWindows();
            return std::any_of(now.cbegin(), now.cend(), [&before](const QString& strNew) {
                return !before.contains(strNew) &&
                    Tool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), strNew})
                        .contains(QLatin1String("Override Redirect State: yes"));
            });
        },
        nTimeoutMs);
}

qint64 WindowPid(const QString& strWindow)
{
    return Tool(QStringLiteral("xdotool"), {QStringLiteral("getwindowpid"), strWindow}).toLongLong();
}

bool SendDeleteWindow(const QString& strWindow)
{
    bool bOk = false;
    const unsigned long nWindow = strWindow.toULong(&bOk, 0);
    return bOk && SendCloseRequest(nWindow);
}

}
