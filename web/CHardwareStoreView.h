#pragma once

#include "fw/CView.h"

// The music page: the music site's home page.
class CHardwareStoreView : public CView
{
    Q_OBJECT

public:
    void OnInitialUpdate() override;
};
