#pragma once

#include "fw/Types.h"

#include <QDialog>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

class CDialog;
class QIcon;
class QRect;
class QTimer;

// One pass of dialog data exchange: from the members to the controls when
// m_bSaveAndValidate is FALSE, back into the members when it is TRUE.
class CDataExchange
{
public:
    CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate);

    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

// Binds the text of control nIDC (a label or a line edit) to strValue.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& strValue);

// A modal dialog. DoModal runs OnInitDialog (which puts the members into the
// controls), shows the dialog and returns the code EndDialog was given:
// IDOK for OK, IDCANCEL for Escape or the close box. Timers are numbered;
// each tick calls OnTimer with its number until KillTimer or the dialog's end.
class CDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CDialog(UINT nIDTemplate, QWidget* pParentWnd = nullptr);
    ~CDialog() override;

    UINT GetTemplateID() const { return m_nIDTemplate; }

    virtual int DoModal();
    void EndDialog(int nResult);

    // Starts (or restarts) timer nIDEvent with a period of nElapse ms;
    // returns nIDEvent, or 0 when the id is 0.
    UINT SetTimer(UINT nIDEvent, UINT nElapse);
    BOOL KillTimer(UINT nIDEvent);

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    QWidget* GetDlgItem(int nID) const;
    void SetIcon(const QIcon& icon, BOOL bBigIcon);

    // Enter and Escape (or the close box) end the dialog through OnOK and
    // OnCancel.
    void accept() override;
    void reject() override;

    // Turns a rectangle in dialog units (a quarter of the dialog font's
    // average character width, an eighth of its height) into pixels.
    void MapDialogRect(QRect& rect) const;

protected:
    // Called before the dialog shows; the base runs data exchange into the
    // controls. A dialog may end itself here.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnTimer(UINT nIDEvent);
    virtual void OnOK();
    virtual void OnCancel();

    // Gives a control its dialog id, for GetDlgItem and data exchange.
    void SetDlgItem(int nID, QWidget* pControl);

private:
    UINT m_nIDTemplate;
    bool m_bEnded = false;
    std::map<UINT, std::unique_ptr<QTimer>> m_timers;
    std::map<int, QPointer<QWidget>> m_controls;
};

// Whoever drives a modal dialog instead of a person: called with the dialog
// once its modal loop runs. It may end the dialog, arrange to end it later,
// or leave it to end itself.
using ModalDialogDriver = std::function<void(CDialog&)>;

// Hands every modal dialog to the driver until the returned guard goes;
// tests use it so that no test waits on a person.
class CModalDialogDriver
{
public:
    explicit CModalDialogDriver(ModalDialogDriver driver);
    ~CModalDialogDriver();
    CModalDialogDriver(const CModalDialogDriver&) = delete;
    CModalDialogDriver& operator=(const CModalDialogDriver&) = delete;

private:
    ModalDialogDriver m_previous;
};

// Whether a modal dialog or message box runs its loop now, ours or one that
// a library opened (a web page's file chooser, a menu), that is any event
// loop inside the program's own. Whatever lies on the stack beneath that
// loop (the dialog itself, its owner, a web page) must outlive it: ending
// the program waits until the loop has returned.
bool IsModalLoopRunning();
// Closes every modal window and open popup, topmost first, so that their
// loops return.
void CloseModalWindows();

// Counts one modal loop while it lives.
class CModalLoopScope
{
public:
    CModalLoopScope();
    ~CModalLoopScope();
    CModalLoopScope(const CModalLoopScope&) = delete;
    CModalLoopScope& operator=(const CModalLoopScope&) = delete;
};
