#include "fw/CDialog.h"

#include "fw/DialogUnits.h"
#include "fw/MessageBox.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QRect>
#include <QThread>
#include <QTimer>

namespace {
int g_nModalLoops = 0;
// The program's own message loop runs at this depth; a deeper one is a
// modal loop.
constexpr int kMainLoopLevel = 1;

ModalDialogDriver& CurrentDriver()
{
    static ModalDialogDriver driver;
    return driver;
}
}

CDataExchange::CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate)
    : m_pDlgWnd(pDlgWnd)
    , m_bSaveAndValidate(bSaveAndValidate)
{
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& strValue)
{
    QWidget* pControl = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (auto* pLabel = qobject_cast<QLabel*>(pControl)) {
        if (pDX->m_bSaveAndValidate)
            strValue = pLabel->text();
        else
            pLabel->setText(strValue);
    } else if (auto* pEdit = qobject_cast<QLineEdit*>(pControl)) {
        if (pDX->m_bSaveAndValidate)
            strValue = pEdit->text();
        else
            pEdit->setText(strValue);
    }
}

CDialog::CDialog(UINT nIDTemplate, QWidget* pParentWnd)
    : QDialog(pParentWnd)
    , m_nIDTemplate(nIDTemplate)
{
}

CDialog::~CDialog() = default;

int CDialog::DoModal()
{
    m_bEnded = false;
    setResult(IDCANCEL);
    OnInitDialog();
    if (!m_bEnded) {
        // The driver meets the dialog inside its modal loop, so that ending
        // the dialog there ends the loop.
        if (ModalDialogDriver driver = CurrentDriver())
            QMetaObject::invokeMethod(
                this,
                [this, driver] {
                    if (!m_bEnded)
                        driver(*this);
                },
                Qt::QueuedConnection);
        const CModalLoopScope modalLoop;
        exec();
    }
    m_timers.clear();
    return result();
}

void CDialog::EndDialog(int nResult)
{
    m_bEnded = true;
    m_timers.clear();
    done(nResult);
}

UINT CDialog::SetTimer(UINT nIDEvent, UINT nElapse)
{
    if (nIDEvent == 0)
        return 0;
    auto& pTimer = m_timers[nIDEvent];
    if (!pTimer) {
        pTimer = std::make_unique<QTimer>();
        connect(pTimer.get(), &QTimer::timeout, this, [this, nIDEvent] { OnTimer(nIDEvent); });
    }
    pTimer->start(static_cast<int>(nElapse));
    return nIDEvent;
}

BOOL CDialog::KillTimer(UINT nIDEvent)
{
    return m_timers.erase(nIDEvent) > 0 ? TRUE : FALSE;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

QWidget* CDialog::GetDlgItem(int nID) const
{
    const auto entry = m_controls.find(nID);
    return entry != m_controls.end() ? entry->second.data() : nullptr;
}

void CDialog::SetDlgItem(int nID, QWidget* pControl)
{
    m_controls[nID] = pControl;
}

void CDialog::SetIcon(const QIcon& icon, BOOL)
{
    // A window here has one icon, which the desktop scales as it needs.
    setWindowIcon(icon);
}

void CDialog::MapDialogRect(QRect& rect) const
{
    rect = DialogUnits::ToPixels(rect, font());
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

void CDialog::OnTimer(UINT)
{
}

void CDialog::OnOK()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::accept()
{
    OnOK();
}

void CDialog::reject()
{
    OnCancel();
}

CModalDialogDriver::CModalDialogDriver(ModalDialogDriver driver)
    : m_previous(std::exchange(CurrentDriver(), std::move(driver)))
{
}

CModalDialogDriver::~CModalDialogDriver()
{
    CurrentDriver() = std::move(m_previous);
}

bool IsModalLoopRunning()
{
    return g_nModalLoops > 0 || QThread::currentThread()->loopLevel() > kMainLoopLevel;
}

void CloseModalWindows()
{
    // Each window closed leaves the stack; one that refuses stays, and the
    // owner of its loop ends it in its own time.
    while (QWidget* pPopup = QApplication::activePopupWidget()) {
        if (!pPopup->close())
            break;
    }
    while (QWidget* pModal = QApplication::activeModalWidget()) {
        // Escape's way out: a box without a Cancel button refuses close().
        if (auto* pDialog = qobject_cast<QDialog*>(pModal))
            pDialog->reject();
        if (QApplication::activeModalWidget() == pModal)
            pModal->close();
        if (QApplication::activeModalWidget() == pModal)
            break;
    }
}

CModalLoopScope::CModalLoopScope()
{
    ++g_nModalLoops;
}

CModalLoopScope::~CModalLoopScope()
{
    --g_nModalLoops;
}
