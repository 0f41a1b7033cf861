#pragma once

#include "fw/CFormView.h"

// The radio page: a form of dialog 101 that holds the channel list, the
// media player and the banner.
class CKestrelRadioView : public CFormView
{
    Q_OBJECT

public:
    CKestrelRadioView();

    void OnInitialUpdate() override;
};
