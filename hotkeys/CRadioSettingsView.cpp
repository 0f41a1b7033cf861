#include "hotkeys/CRadioSettingsView.h"

#include "frame/FirstRunSizing.h"
#include "frame/PageOpening.h"
#include "fw/CWinApp.h"
#include "fw/DialogUnits.h"
#include "res/Resource.h"
#include "res/StringTable.h"

#include <QGroupBox>
#include <QLabel>

namespace {
constexpr char kFirstRunFlag[] = "CRadioSettingsView";
const QSize kFormSize(483, 281);
const QRect kGroupRect(7, 7, 469, 110);
const QRect kNoteRect(16, 98, 322, 8);
}

CRadioSettingsView::CRadioSettingsView()
    : CFormView(IDD_RADIOSETTINGS_FORM)
{
    QWidget* pForm = GetFormWidget();
    const QFont font = pForm->font();
    pForm->setFixedSize(DialogUnits::ToPixels(kFormSize, font));
    auto* pGroup = new QGroupBox(Texts::kHotKeysGroupTitle, pForm);
    pGroup->setGeometry(DialogUnits::ToPixels(kGroupRect, font));
    auto* pNote = new QLabel(Texts::kHotKeysNote, pForm);
    pNote->setGeometry(DialogUnits::ToPixels(kNoteRect, font));
}

void CRadioSettingsView::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    CWaitCursor wait;
    MaximizePageFrame(this);
    ResizeParentToFit(FALSE);
    SizeMainWindowOnFirstRun(this, kFirstRunFlag);
    ShowPageWithEmptyStatus();
}
