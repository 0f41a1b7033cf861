#pragma once

#include "fw/CHtmlView.h"

// A page that shows one of the program's web sites: every new page, and the
// ribbon's Refresh of its category, starts it on the site's home page. The
// first opening of such a page sizes the main window, once per page kind.
class CSiteHomeView : public CHtmlView
{
    Q_OBJECT

public:
    void OnInitialUpdate() override;
    void ShowHomePage();

protected:
    struct Site {
        // The stored setting that remembers the first opening.
        const char* pszFirstRunFlag;
        // Posted to the view to bring the home page back.
        UINT nReloadMessage;
        QString (*pHomePageUrl)();
    };

    explicit CSiteHomeView(const Site& site);

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Site m_site;
};
