#include "hotkeys/CRadioSettingsView.h"

#include "frame/FirstRunSizing.h"
#include "frame/PageOpening.h"
#include "fw/CWinApp.h"
#include "fw/DialogUnits.h"
#include "fw/HotKeyRegistration.h"
#include "fw/MessageBox.h"
#include "fw/WindowMessages.h"
#include "hotkeys/HotKeyActions.h"
#include "hotkeys/HotKeyStore.h"
#include "res/Resource.h"
#include "res/StringTable.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <iterator>

namespace {
constexpr char kFirstRunFlag[] = "CRadioSettingsView";

// Dialog 313, in dialog units.
const QSize kFormSize(483, 281);
const QRect kGroupRect(7, 7, 469, 110);
const QRect kNoteRect(16, 98, 322, 8);
// Beside the Clear buttons: the triggers the desktop reports, and its
// settings of the keys.
constexpr int kTriggerX = 384;
constexpr int kTriggerWidth = 88;
const QRect kConfigureRect(384, 94, 88, 14);

struct HotKeyRow {
    int nId;
    const char* pszLoadFailed;
    UINT nTriggerID;
    const char* pszLabel;
    QRect labelRect;
    UINT nHotKeyID;
    QRect hotKeyRect;
    UINT nAssignID;
    QRect assignRect;
    UINT nClearID;
    QRect clearRect;
};

// Play, Play Next, Play Prev and Stop, top to bottom.
const HotKeyRow kRows[] = {
    {ID_HOTKEY_PLAY, Texts::kLoadHotKeyPlayFailed, IDC_TRIGGER_PLAY, Texts::kHotKeyPlayLabel, QRect(162, 26, 19, 8),
     IDC_HOTKEY_PLAY, QRect(186, 24, 80, 14), IDC_ASSIGN_PLAY, QRect(272, 23, 50, 14), IDC_CLEAR_PLAY,
     QRect(328, 23, 50, 14)},
    {ID_HOTKEY_PLAY_NEXT, Texts::kLoadHotKeyPlayNextFailed, IDC_TRIGGER_PLAY_NEXT, Texts::kHotKeyPlayNextLabel,
     QRect(117, 42, 64, 8), IDC_HOTKEY_PLAY_NEXT, QRect(186, 40, 80, 14), IDC_ASSIGN_PLAY_NEXT, QRect(272, 38, 50, 14),
     IDC_CLEAR_PLAY_NEXT, QRect(328, 38, 50, 14)},
    {ID_HOTKEY_PLAY_PREV, Texts::kLoadHotKeyPlayPrevFailed, IDC_TRIGGER_PLAY_PREV, Texts::kHotKeyPlayPrevLabel,
     QRect(105, 58, 76, 8), IDC_HOTKEY_PLAY_PREV, QRect(186, 56, 80, 14), IDC_ASSIGN_PLAY_PREV, QRect(272, 54, 50, 14),
     IDC_CLEAR_PLAY_PREV, QRect(328, 54, 50, 14)},
    {ID_HOTKEY_STOP, Texts::kLoadHotKeyStopFailed, IDC_TRIGGER_STOP, Texts::kHotKeyStopLabel, QRect(161, 74, 20, 8),
     IDC_HOTKEY_STOP, QRect(186, 72, 80, 14), IDC_ASSIGN_STOP, QRect(272, 71, 50, 14), IDC_CLEAR_STOP,
     QRect(328, 71, 50, 14)},
};

const HotKeyRow* RowOf(int nId)
{
    for (const HotKeyRow& row : kRows) {
        if (row.nId == nId)
            return &row;
    }
    return nullptr;
}
}

CRadioSettingsView::CRadioSettingsView()
    : CFormView(IDD_RADIOSETTINGS_FORM)
{
    BuildForm();

    MapCommand(IDC_ASSIGN_PLAY, &CRadioSettingsView::OnAssignPlay);
    MapCommand(IDC_ASSIGN_PLAY_NEXT, &CRadioSettingsView::OnAssignPlayNext);
    MapCommand(IDC_ASSIGN_PLAY_PREV, &CRadioSettingsView::OnAssignPlayPrev);
    MapCommand(IDC_ASSIGN_STOP, &CRadioSettingsView::OnAssignStop);
    MapCommand(IDC_CLEAR_PLAY, &CRadioSettingsView::OnClearPlay);
    MapCommand(IDC_CLEAR_PLAY_NEXT, &CRadioSettingsView::OnClearPlayNext);
    MapCommand(IDC_CLEAR_PLAY_PREV, &CRadioSettingsView::OnClearPlayPrev);
    MapCommand(IDC_CLEAR_STOP, &CRadioSettingsView::OnClearStop);
    MapCommand(IDC_CONFIGURE_HOTKEYS, &CRadioSettingsView::OnConfigureHotKeys);
}

void CRadioSettingsView::BuildForm()
{
    QWidget* pForm = GetFormWidget();
    const QFont font = pForm->font();
    pForm->setFixedSize(DialogUnits::ToPixels(kFormSize, font));
    auto* pGroup = new QGroupBox(Texts::kHotKeysGroupTitle, pForm);
    pGroup->setGeometry(DialogUnits::ToPixels(kGroupRect, font));

    CHotKeyCtrl* controls[] = {&m_hotKeyPlay, &m_hotKeyPlayNext, &m_hotKeyPlayPrev, &m_hotKeyStop};
    // The dialog's tab order: the four hot key boxes, the Assign buttons,
    // then the Clear buttons.
    QList<QWidget*> tabOrder;
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        const HotKeyRow& row = kRows[i];
        CHotKeyCtrl* pControl = controls[i];
        auto* pLabel = new QLabel(QLatin1String(row.pszLabel), pForm);
        pLabel->setGeometry(DialogUnits::ToPixels(row.labelRect, font));
        pLabel->setBuddy(pControl);
        // The controls' ids name them, as the dialog has them.
        pControl->setObjectName(QString::number(row.nHotKeyID));
        pControl->setParent(pForm);
        pControl->setGeometry(DialogUnits::ToPixels(row.hotKeyRect, font));
        tabOrder << pControl;
    }
    for (const HotKeyRow& row : kRows)
        tabOrder << AddButton(row.nAssignID, Texts::kAssignButton, row.assignRect);
    for (const HotKeyRow& row : kRows)
        tabOrder << AddButton(row.nClearID, Texts::kClearButton, row.clearRect);
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    setFocusProxy(&m_hotKeyPlay);

    auto* pNote = new QLabel(Texts::kHotKeysNote, pForm);
    pNote->setGeometry(DialogUnits::ToPixels(kNoteRect, font));

    // Shown only where the desktop decides the triggers.
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        const HotKeyRow& row = kRows[i];
        auto* pTrigger = new QLabel(pForm);
        pTrigger->setObjectName(QString::number(row.nTriggerID));
        // The desktop's text, never markup.
        pTrigger->setTextFormat(Qt::PlainText);
        pTrigger->setToolTip(QLatin1String(Texts::kTriggerToolTip));
        pTrigger->setGeometry(
            DialogUnits::ToPixels(QRect(kTriggerX, row.labelRect.y(), kTriggerWidth, row.labelRect.height()), font));
        pTrigger->hide();
        m_triggerLabels[i] = pTrigger;
    }
    m_pConfigureButton = AddButton(IDC_CONFIGURE_HOTKEYS, Texts::kConfigureHotKeysButton, kConfigureRect);
    m_pConfigureButton->hide();
}

QPushButton* CRadioSettingsView::AddButton(UINT nID, const char* pszText, const QRect& rectDialogUnits)
{
    QWidget* pForm = GetFormWidget();
    auto* pButton = new QPushButton(QLatin1String(pszText), pForm);
    pButton->setObjectName(QString::number(nID));
    pButton->setGeometry(DialogUnits::ToPixels(rectDialogUnits, pForm->font()));
    // A click is the button's command to this view.
    connect(pButton, &QPushButton::clicked, this, [this, nID] { SendMessage(WM_COMMAND, nID); });
    return pButton;
}

void CRadioSettingsView::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    CWaitCursor wait;
    MaximizePageFrame(this);
    ResizeParentToFit(FALSE);
    SizeMainWindowOnFirstRun(this, kFirstRunFlag);
    ShowPageWithEmptyStatus();
    const bool bDesktopDecides = DesktopDecidesHotKeys() != FALSE;
    for (QLabel* pTrigger : m_triggerLabels)
        pTrigger->setVisible(bDesktopDecides);
    m_pConfigureButton->setVisible(CanConfigureHotKeysOnDesktop() != FALSE);
    LoadHotKeyControls();
}

LRESULT CRadioSettingsView::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HOTKEY_BINDING)
        OnHotKeyBinding(static_cast<int>(wParam), lParam);
    return CFormView::DefWindowProc(message, wParam, lParam);
}

void CRadioSettingsView::OnHotKeyBinding(int nId, LPARAM lChange)
{
    const HotKeyRow* pRow = RowOf(nId);
    if (pRow == nullptr)
        return;
    ShowTrigger(nId);
    // A change the user made on the desktop is the user's own: shown, not
    // reported.
    if (lChange != HOTKEY_BINDING_ANSWERED)
        return;
    const HotKeyBindingState eState = GetHotKeyBinding(this, nId).eState;
    if (eState == HotKeyBindingState::Changed || eState == HotKeyBindingState::Refused)
        AfxMessageBox(QLatin1String(pRow->pszLoadFailed), MB_ICONERROR, this);
}

void CRadioSettingsView::ShowTrigger(int nId)
{
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        if (kRows[i].nId != nId)
            continue;
        const HotKeyBinding binding = GetHotKeyBinding(this, nId);
        const bool bBound =
            binding.eState == HotKeyBindingState::AsRegistered || binding.eState == HotKeyBindingState::Changed;
        m_triggerLabels[i]->setText(bBound ? binding.strTrigger : QString());
    }
}

void CRadioSettingsView::OnConfigureHotKeys()
{
    ConfigureHotKeysOnDesktop();
}

void CRadioSettingsView::LoadHotKeyControls()
{
    LoadHotKeyControl(HotKeyNames::kPlay, ID_HOTKEY_PLAY, m_hotKeyPlay, Texts::kLoadHotKeyPlayFailed);
    LoadHotKeyControl(HotKeyNames::kPlayNext, ID_HOTKEY_PLAY_NEXT, m_hotKeyPlayNext, Texts::kLoadHotKeyPlayNextFailed);
    LoadHotKeyControl(HotKeyNames::kPlayPrev, ID_HOTKEY_PLAY_PREV, m_hotKeyPlayPrev, Texts::kLoadHotKeyPlayPrevFailed);
    LoadHotKeyControl(HotKeyNames::kStop, ID_HOTKEY_STOP, m_hotKeyStop, Texts::kLoadHotKeyStopFailed);
}

void CRadioSettingsView::LoadHotKeyControl(CString strName, int nId, CHotKeyCtrl& control, CString strMessage)
{
    const StoredHotKey hotKey = LoadHotKey(strName);
    control.SetHotKey(hotKey.wKey & 0xFF, hotKey.wControlModifiers & 0xFF);
    UnregisterHotKey(this, nId);
    const bool bFailed = hotKey.wKey != 0 && !RegisterHotKey(this, nId, hotKey.wStoredModifiers, hotKey.wKey);
    // Where the desktop decides, its answer follows as WM_HOTKEY_BINDING.
    ShowTrigger(nId);
    if (bFailed)
        AfxMessageBox(strMessage, MB_ICONERROR, this);
}

void CRadioSettingsView::AssignHotKey(CString strName, CHotKeyCtrl& control, CString strMessage)
{
    WORD wKey = 0;
    WORD wModifiers = 0;
    control.GetHotKey(wKey, wModifiers);
    if (!StoreHotKey(strName, wKey, wModifiers)) {
        AfxMessageBox(strMessage, MB_ICONERROR, this);
        return;
    }
    LoadHotKeyControls();
}

void CRadioSettingsView::OnAssignPlay()
{
    AssignHotKey(HotKeyNames::kPlay, m_hotKeyPlay, Texts::kStoreHotKeyPlayFailed);
}

void CRadioSettingsView::OnAssignPlayNext()
{
    AssignHotKey(HotKeyNames::kPlayNext, m_hotKeyPlayNext, Texts::kStoreHotKeyPlayNextFailed);
}

void CRadioSettingsView::OnAssignPlayPrev()
{
    AssignHotKey(HotKeyNames::kPlayPrev, m_hotKeyPlayPrev, Texts::kStoreHotKeyPlayPrevFailed);
}

void CRadioSettingsView::OnAssignStop()
{
    AssignHotKey(HotKeyNames::kStop, m_hotKeyStop, Texts::kStoreHotKeyStopFailed);
}

void CRadioSettingsView::OnClearPlay()
{
    m_hotKeyPlay.SetHotKey(0, 0);
    OnAssignPlay();
}

void CRadioSettingsView::OnClearPlayNext()
{
    m_hotKeyPlayNext.SetHotKey(0, 0);
    OnAssignPlayNext();
}

void CRadioSettingsView::OnClearPlayPrev()
{
    m_hotKeyPlayPrev.SetHotKey(0, 0);
    OnAssignPlayPrev();
}

void CRadioSettingsView::OnClearStop()
{
    m_hotKeyStop.SetHotKey(0, 0);
    OnAssignStop();
}
