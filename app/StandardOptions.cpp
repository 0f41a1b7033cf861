#include "app/StandardOptions.h"

#include "BuildConfig.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace StandardOptions {
namespace {

// Qt's own command-line options, which QApplication takes off the command
// line itself; the first group takes the next argument as its value.
const QStringList kQtOptionsWithValue = {
    "-platform",      "-platformpluginpath",
    "-platformtheme", "-plugin",
    "-qmljsdebugger", "-qwindowgeometry",
    "-qwindowicon",   "-qwindowtitle",
    "-session",       "-display",
    "-geometry",      "-style",
    "-stylesheet",    "-title",
    "-name",
};
const QStringList kQtFlags = {"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"};

QString ProgramName(const QStringList& arguments)
{
    return arguments.isEmpty() ? QStringLiteral("kestrel-radio") : QFileInfo(arguments.first()).fileName();
}

QString Usage(const QString& strProgram)
{
    return QStringLiteral("Usage: %1 [:silent | NUMBER]\n"
                          "\n"
                          "Kestrel Radio, a player for internet radio and TV channels.\n"
                          "\n"
                          "  (no argument)   start with the main window shown\n"
                          "  :silent         start hidden in the notification area\n"
                          "  NUMBER          start hidden; a running Kestrel Radio is sent the number\n"
                          "  -h, --help      print this help and exit\n"
                          "  -v, --version   print the version and exit\n"
                          "\n"
                          "Only one Kestrel Radio runs per user: starting it again brings the\n"
                          "running window to the front.\n"
                          "\n"
                          "Environment: KESTREL_RADIO_SERVER, KESTREL_MUSIC_SITE and\n"
                          "KESTREL_PROMO_SITE point the program at other servers (a base URL each).\n")
        .arg(strProgram);
}

bool LooksLikeOption(const QString& strArgument)
{
    // "-3" is a number for the running instance, not an option.
    static const QRegularExpression number(QStringLiteral("^[-+]\\d"));
    return strArgument.size() > 1 && strArgument.startsWith(QLatin1Char('-')) && !number.match(strArgument).hasMatch();
}

}

Answer Read(const QStringList& arguments)
{
    const QString strProgram = ProgramName(arguments);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& strArgument = arguments.at(i);
        if (strArgument == QLatin1String("--help") || strArgument == QLatin1String("-h"))
            return {Outcome::PrintAndExit, Usage(strProgram)};
        if (strArgument == QLatin1String("--version") || strArgument == QLatin1String("-v"))
            return {Outcome::PrintAndExit,
                    QStringLiteral("Kestrel Radio %1\n").arg(QLatin1String(BuildConfig::kVersion))};
        if (kQtOptionsWithValue.contains(strArgument)) {
            ++i;
            continue;
        }
        if (kQtFlags.contains(strArgument) || !LooksLikeOption(strArgument))
            continue;
        return {Outcome::RefuseAndExit,
                QStringLiteral("%1: unknown option '%2'\nTry '%1 --help' for the options it takes.\n")
                    .arg(strProgram, strArgument)};
    }
    return {};
}

}
