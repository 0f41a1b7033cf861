#pragma once

#include "fw/CView.h"

// The promotion page: the promotion site's home page.
class CPromoView : public CView
{
    Q_OBJECT

public:
    void OnInitialUpdate() override;
};
