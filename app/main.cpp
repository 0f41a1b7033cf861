#include "app/CKestrelRadioApp.h"
#include "app/StandardOptions.h"
#include "platform/activation/WindowActivation.h"
#include "platform/graphics/SoftwareGraphics.h"
#include "res/ResourceImages.h"

#include <QApplication>
#include <clocale>
#include <cstdio>

namespace {

QStringList ArgumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

}

int main(int argc, char** argv)
{
    // --help, --version and unknown options are answered before anything
    // starts: no display, no window, no profile.
    const StandardOptions::Answer answer = StandardOptions::Read(ArgumentsOf(argc, argv));
    if (answer.eOutcome != StandardOptions::Outcome::Start) {
        const bool bRefused = answer.eOutcome == StandardOptions::Outcome::RefuseAndExit;
        std::fputs(answer.strText.toLocal8Bit().constData(), bRefused ? stderr : stdout);
        return bRefused ? 2 : 0;
    }

    // Only the player's video surface is a window of its own: native
    // siblings beside it would miss the web pages' OpenGL composition and
    // leave the main window black.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    // Read before the display connection takes it out of the environment.
    const QString strActivationToken = IWindowActivation::LaunchToken();
    PrepareSoftwareGraphics();
    QApplication application(argc, argv);
    // The media player reads numbers in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setWindowIcon(ResourceImages::ApplicationIcon());

    CKestrelRadioApp theApp(QCoreApplication::arguments(), strActivationToken);
    if (!theApp.InitInstance())
        return 0;
    return QApplication::exec();
}
