#pragma once

#include "platform/shellopen/ShellOpen.h"

// The shell over the desktop's URL handlers (xdg-open on a Linux desktop).
class CDesktopShellOpen final : public IShellOpen
{
    Q_OBJECT

public:
    using IShellOpen::IShellOpen;

    bool Open(const QUrl& url) override;
};
