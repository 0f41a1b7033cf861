#pragma once

#include "web/CSiteHomeView.h"

// The promotion page: the promotion site's home page.
class CPromoView : public CSiteHomeView
{
    Q_OBJECT

public:
    CPromoView();
};
