// Another X client that holds one key combination, as a second program on
// the desktop would: "hotkey-holder MODIFIERS VIRTUALKEY" grabs it, prints
// "held" (or "refused") and keeps it until its standard input closes or it
// is stopped. It prints "pressed" whenever the combination is pressed.
#include "platform/hotkeys/GlobalHotKeys.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s MODIFIERS VIRTUALKEY\n", argv[0]);
        return 2;
    }
    const unsigned nModifiers = static_cast<unsigned>(std::strtoul(argv[1], nullptr, 0));
    const unsigned nVirtualKey = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 0));
    std::unique_ptr<IGlobalHotKeys> pHotKeys = CreateGlobalHotKeys();
    const bool bHeld = pHotKeys->Register(&app, 1, nModifiers, nVirtualKey);
    QObject::connect(pHotKeys.get(), &IGlobalHotKeys::Pressed, [] {
        std::puts("pressed");
        std::fflush(stdout);
    });
    std::puts(bHeld ? "held" : "refused");
    std::fflush(stdout);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&app] {
        char buffer[64];
        if (read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
            app.quit();
    });
    return app.exec();
}
