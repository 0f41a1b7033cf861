#include "app/CKestrelRadioApp.h"
#include "res/ResourceImages.h"

#include <QApplication>
#include <clocale>

int main(int argc, char** argv)
{
    // Only the player's video surface is a window of its own: native
    // siblings beside it would miss the web pages' OpenGL composition and
    // leave the main window black.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    QApplication application(argc, argv);
    // The media player reads numbers in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    QGuiApplication::setDesktopFileName(QStringLiteral("kestrel-radio"));
    QApplication::setWindowIcon(ResourceImages::ApplicationIcon());

    CKestrelRadioApp theApp(QCoreApplication::arguments());
    if (!theApp.InitInstance())
        return 0;
    return QApplication::exec();
}
