#pragma once

#include "fw/CDialog.h"

// The about box of dialog 100: the program's icon, name and version, and
// where to write to us.
class CAboutDlg : public CDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* pParentWnd = nullptr);
};
