#include "radio/CKestrelRadioView.h"

#include "app/PrivateMessages.h"
#include "frame/FirstRunSizing.h"
#include "fw/CFrameWnd.h"
#include "fw/CWinApp.h"
#include "res/DialogUnits.h"
#include "res/Resource.h"
#include "res/StringTable.h"

#include <QLabel>

namespace {
constexpr char kFirstRunFlag[] = "CKestrelRadioView";
const QSize kFormSize(483, 281);
const QRect kChannelsListLabelRect(7, 76, 43, 8);
}

CKestrelRadioView::CKestrelRadioView()
    : CFormView(IDD_KESTRELRADIO_FORM)
{
    QWidget* pForm = GetFormWidget();
    pForm->setFixedSize(DialogUnits::ToPixels(kFormSize, pForm->font()));
    auto* pChannelsListLabel = new QLabel(Texts::kChannelsListLabel, pForm);
    pChannelsListLabel->setGeometry(DialogUnits::ToPixels(kChannelsListLabelRect, pForm->font()));
}

void CKestrelRadioView::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    CWaitCursor wait;
    if (CFrameWnd* pChildFrame = GetParentFrame()) {
        pChildFrame->ShowWindow(SW_SHOWMAXIMIZED);
        pChildFrame->RecalcLayout();
    }
    ResizeParentToFit(FALSE);
    SizeMainWindowOnFirstRun(this, kFirstRunFlag);
    if (CWnd* pMainWnd = AfxGetMainWnd()) {
        pMainWnd->PostMessage(WM_UPDATE_STATUS_PANES, 0, 0);
        pMainWnd->PostMessage(WM_COMMAND, ID_REFRESH_CHANNELS_LIST, 0);
    }
}
