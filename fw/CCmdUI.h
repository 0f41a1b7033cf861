#pragma once

#include "fw/Types.h"

class CCmdTarget;

// The state an update-UI handler gives a command's element: enabled,
// checked (0 unchecked, 1 checked, 2 indeterminate) and radio mark.
class CCmdUI
{
public:
    explicit CCmdUI(UINT nID);

    UINT m_nID;

    void Enable(BOOL bOn = TRUE);
    void SetCheck(int nCheck = 1);
    void SetRadio(BOOL bOn = TRUE);

    // Asks pTarget's command route for the state. An element whose command
    // has neither a handler nor an update handler on the route is disabled.
    void DoUpdate(CCmdTarget* pTarget);

    bool IsEnabled() const { return m_bEnabled; }
    int GetCheck() const { return m_nCheck; }
    bool IsRadio() const { return m_bRadio; }
    bool IsHandled() const { return m_bHandled; }

private:
    friend class CCmdTarget;
    bool m_bEnabled = true;
    int m_nCheck = 0;
    bool m_bRadio = false;
    bool m_bHandled = false;
};
