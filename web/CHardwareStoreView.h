#pragma once

#include "web/CSiteHomeView.h"

// The music page: the music site's home page.
class CHardwareStoreView : public CSiteHomeView
{
    Q_OBJECT

public:
    CHardwareStoreView();
};
