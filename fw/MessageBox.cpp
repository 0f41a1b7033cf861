#include "fw/MessageBox.h"

#include "fw/CDialog.h"
#include "fw/CWinApp.h"
#include "fw/CWnd.h"

#include <QMessageBox>

namespace {
MessageBoxAnswerer& CurrentAnswerer()
{
    static MessageBoxAnswerer answerer;
    return answerer;
}

QMessageBox::Icon IconOf(UINT nType)
{
    switch (nType & 0xF0) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONWARNING:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int ShowModal(const MessageBoxRequest& request, QWidget* pOwner)
{
    QMessageBox box(IconOf(request.nType), request.strCaption, request.strText, QMessageBox::NoButton, pOwner);
    // A box may quote what a server or a file said.
    box.setTextFormat(Qt::PlainText);
    switch (request.nType & 0x0F) {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    const CModalLoopScope modalLoop;
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDOK;
    }
}
}

int AfxMessageBox(const CString& strText, UINT nType, QWidget* pOwner)
{
    CWinApp* pApp = AfxGetApp();
    const MessageBoxRequest request{pApp != nullptr ? pApp->m_pszAppName : CString(), strText, nType};
    if (CurrentAnswerer())
        return CurrentAnswerer()(request);
    if (pOwner == nullptr)
        pOwner = AfxGetMainWnd();
    return ShowModal(request, pOwner);
}

CMessageBoxAnswerer::CMessageBoxAnswerer(MessageBoxAnswerer answerer)
    : m_previous(std::exchange(CurrentAnswerer(), std::move(answerer)))
{
}

CMessageBoxAnswerer::~CMessageBoxAnswerer()
{
    CurrentAnswerer() = std::move(m_previous);
}
