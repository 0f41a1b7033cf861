// Tells where the program's ribbon puts its buttons in a window of a given
// size. It builds the program's own main window, on Qt's offscreen
// platform, from a copy of a profile folder (so the same look and category
// as the real program's), sizes it like the real window and prints, in the
// window's coordinates:
//   application X Y W H      the round application button
//   tab INDEX X Y W H        the tab of each category
//   element ID X Y W H       each element of the active category
//   close X Y W H            the close button of the caption it draws
// Usage: kestrel-ribbon-locator CONFIG_FOLDER WIDTH HEIGHT
#include "app/CKestrelRadioApp.h"
#include "frame/CMainFrame.h"
#include "fw/MessageBox.h"
#include "fw/ribbon/CMFCRibbonApplicationButton.h"
#include "fw/ribbon/CMFCRibbonBaseElement.h"
#include "fw/ribbon/CMFCRibbonCategory.h"
#include "fw/ribbon/RibbonHeader.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdlib>

namespace {

void Pump()
{
    for (int i = 0; i < 10; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

bool CopyFolder(const QString& strFrom, const QString& strTo)
{
    QDirIterator files(strFrom, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString strFile = files.next();
        const QString strTarget = strTo + QLatin1Char('/') + QDir(strFrom).relativeFilePath(strFile);
        if (!QDir().mkpath(QFileInfo(strTarget).path()) || !QFile::copy(strFile, strTarget))
            return false;
    }
    return true;
}

void Print(QTextStream& out, const QString& strWhat, const QWidget* pWidget, const QWidget* pWindow)
{
    if (pWidget == nullptr || !pWidget->isVisible())
        return;
    const QPoint topLeft = pWidget->mapTo(pWindow, QPoint(0, 0));
    out << strWhat << ' ' << topLeft.x() << ' ' << topLeft.y() << ' ' << pWidget->width() << ' ' << pWidget->height()
        << '\n';
}

}

int main(int argc, char* argv[])
{
    if (argc != 4) {
        fprintf(stderr, "usage: %s CONFIG_FOLDER WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    QTemporaryDir home;
    const QString strConfig = home.filePath(QStringLiteral("config"));
    if (!home.isValid() || !CopyFolder(QString::fromLocal8Bit(argv[1]), strConfig))
        return 1;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_CONFIG_HOME", qPrintable(strConfig), 1);
    setenv("XDG_DATA_HOME", qPrintable(home.filePath(QStringLiteral("data"))), 1);
    setenv("XDG_RUNTIME_DIR", qPrintable(home.path()), 1);
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    // Nothing listens there: the pages reach no server.
    for (const char* variable : {"KESTREL_RADIO_SERVER", "KESTREL_MUSIC_SITE", "KESTREL_PROMO_SITE"})
        setenv(variable, "http://127.0.0.1:9", 1);
    const QSize size(atoi(argv[2]), atoi(argv[3]));

    QApplication application(argc, argv);
    CMessageBoxAnswerer failures([](const MessageBoxRequest&) { return IDOK; });
    CKestrelRadioApp program(QStringList{QCoreApplication::applicationFilePath(), QStringLiteral(":silent")});
    if (!program.InitInstance())
        return 1;
    Pump();
    auto* pFrame = dynamic_cast<CMainFrame*>(program.m_pMainWnd);
    if (pFrame == nullptr)
        return 1;
    QWidget* pWindow = pFrame->window();
    pWindow->resize(size);
    pWindow->show();
    Pump();

    QTextStream out(stdout);
    CCustomMFCRibbonBar& ribbon = pFrame->GetRibbonBar();
    if (ribbon.GetApplicationButton() != nullptr)
        Print(out, QStringLiteral("application"), ribbon.GetApplicationButton()->GetWidget(), pWindow);
    if (const auto* pHeader = ribbon.findChild<RibbonHeader*>()) {
        const QRect close = pHeader->CloseButtonRect();
        if (!close.isEmpty()) {
            const QPoint topLeft = pHeader->mapTo(pWindow, close.topLeft());
            out << "close " << topLeft.x() << ' ' << topLeft.y() << ' ' << close.width() << ' ' << close.height()
                << '\n';
        }
        for (int nIndex = 0; nIndex < ribbon.GetCategoryCount(); ++nIndex) {
            const QRect tab = pHeader->TabRect(nIndex);
            const QPoint topLeft = pHeader->mapTo(pWindow, tab.topLeft());
            out << "tab " << nIndex << ' ' << topLeft.x() << ' ' << topLeft.y() << ' ' << tab.width() << ' '
                << tab.height() << '\n';
        }
    }
    if (CMFCRibbonCategory* pCategory = ribbon.GetActiveCategory()) {
        for (CMFCRibbonBaseElement* pElement : pCategory->GetElements())
            Print(out, QStringLiteral("element %1").arg(pElement->GetID()), pElement->GetWidget(), pWindow);
    }
    out.flush();
    program.EndApplication();
    Pump();
    return 0;
}
