#pragma once

#include "fw/CHtmlView.h"

// The music page: the music site's home page. Every new page, and the
// ribbon's Refresh of its category, starts it on that home page.
class CHardwareStoreView : public CHtmlView
{
    Q_OBJECT

public:
    void OnInitialUpdate() override;
    void ShowHomePage();

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
