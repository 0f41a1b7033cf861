#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QWindow;

// Bringing a window to the front when another program asked for it: the
// desktop lets a window take the focus only with a token that the user's
// action produced (the launcher's click, the panel's click on the tray
// icon). A later start of the program, which only hands over to the running
// one, passes on the token its launcher gave it.
class IWindowActivation : public QObject
{
    Q_OBJECT

public:
    explicit IWindowActivation(QObject* pParent = nullptr);
    ~IWindowActivation() override;

    // The token this process was started with: XDG_ACTIVATION_TOKEN
    // (xdg-activation, Wayland) or else DESKTOP_STARTUP_ID (startup
    // notification, X11); empty without one. To be read before the
    // application object connects to the display, which takes the X11 one
    // out of the environment.
    static QString LaunchToken();

    // Makes the next activation of pWindow (QWindow::requestActivate) carry
    // the token; nothing for an empty token.
    virtual void UseToken(QWindow* pWindow, const QString& strToken) = 0;
};

// The activation of the display the application uses.
std::unique_ptr<IWindowActivation> CreateWindowActivation(QObject* pParent = nullptr);
