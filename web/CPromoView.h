#pragma once

#include "fw/CHtmlView.h"

// The promotion page: the promotion site's home page. Every new page, and the
// ribbon's Refresh of its category, starts it on that home page.
class CPromoView : public CHtmlView
{
    Q_OBJECT

public:
    void OnInitialUpdate() override;
    void ShowHomePage();

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
