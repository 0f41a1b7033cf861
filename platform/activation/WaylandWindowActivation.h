#pragma once

#include "platform/activation/WindowActivation.h"

// On Wayland, Qt's own xdg-activation: its Wayland plugin activates a window
// with the token in XDG_ACTIVATION_TOKEN (and then clears it), as it does
// with the token a StatusNotifierItem host hands the tray icon.
class CWaylandWindowActivation : public IWindowActivation
{
    Q_OBJECT

public:
    using IWindowActivation::IWindowActivation;

    void UseToken(QWindow* pWindow, const QString& strToken) override;
};
