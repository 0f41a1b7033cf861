#pragma once

#include "fw/CFormView.h"

// The hot key settings page: a form of dialog 313 where the four system-wide
// hot keys are assigned.
class CRadioSettingsView : public CFormView
{
    Q_OBJECT

public:
    CRadioSettingsView();

    void OnInitialUpdate() override;
};
