#pragma once

#include "fw/CFormView.h"
#include "fw/CHotKeyCtrl.h"

class QLabel;
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
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

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
    // Where the desktop decides the triggers: shows the one it reports for
    // the row of the id and, when it answered a registration with another
    // trigger or none, the row's load-failure message.
    void OnHotKeyBinding(int nId, LPARAM lChange);
    void ShowTrigger(int nId);
    void OnConfigureHotKeys();

    void OnAssignPlay();
    void OnAssignPlayNext();
    void OnAssignPlayPrev();
    void OnAssignStop();
    void OnClearPlay();
    void OnClearPlayNext();
    void OnClearPlayPrev();
    void OnClearStop();

    // The desktop's trigger of each row, Play to Stop.
    QLabel* m_triggerLabels[4] = {};
    QPushButton* m_pConfigureButton = nullptr;
};
