#pragma once

#include "platform/activation/WindowActivation.h"

// On X11, startup notification: the window is marked with the startup id
// (_NET_STARTUP_ID), which tells the window manager which launch, and so
// which user action, the activation answers, and the launch's feedback is
// ended ("remove"), as a program does for the window its own start shows.
class CXcbWindowActivation : public IWindowActivation
{
    Q_OBJECT

public:
    using IWindowActivation::IWindowActivation;

    void UseToken(QWindow* pWindow, const QString& strToken) override;
};
