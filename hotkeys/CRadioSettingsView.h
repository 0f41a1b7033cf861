#pragma once

#include "fw/CFormView.h"
#include "fw/CHotKeyCtrl.h"

class QPushButton;

// The hot key settings page: a form of dialog 313 where the four system-wide
// hot keys are assigned and cleared. Every time it loads the stored keys it
// registers them on its own window, to tell the user which combinations
// cannot be had; those registrations trigger nothing and end with the page.
class CRadioSettingsView : public CFormView
{
    Q_OBJECT

public:
    CRadioSettingsView();

    void OnInitialUpdate() override;

    CHotKeyCtrl m_hotKeyPlay;
    CHotKeyCtrl m_hotKeyPlayNext;
    CHotKeyCtrl m_hotKeyPlayPrev;
    CHotKeyCtrl m_hotKeyStop;

private:
    void BuildForm();
    QPushButton* AddButton(UINT nID, const char* pszText, const QRect& rectDialogUnits);

    void LoadHotKeyControls();
    void LoadHotKeyControl(CString strName, int nId, CHotKeyCtrl& control, CString strMessage);
    void AssignHotKey(CString strName, CHotKeyCtrl& control, CString strMessage);

    void OnAssignPlay();
    void OnAssignPlayNext();
    void OnAssignPlayPrev();
    void OnAssignStop();
    void OnClearPlay();
    void OnClearPlayNext();
    void OnClearPlayPrev();
    void OnClearStop();
};
