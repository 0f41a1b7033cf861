#pragma once

#include <QDialog>
#include <QPointer>

class CMDIChildWndEx;
class CMDIFrameWndEx;
class QListWidget;
class QPushButton;

// The framework's windows dialog: lists the MDI frame's open pages; Activate
// brings the chosen page forward, Close closes the chosen pages.
class CMFCWindowsManagerDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CMFCWindowsManagerDialog(CMDIFrameWndEx* pMDIFrame);

    QListWidget* GetList() const { return m_pList; }
    // Rebuilds the list from the frame's pages, the active one selected.
    void FillWindowList();
    void OnActivate();
    void OnCloseWindows();

private:
    CMDIChildWndEx* ChildAt(int nRow) const;
    void UpdateButtons();

    QPointer<CMDIFrameWndEx> m_pMDIFrame;
    QListWidget* m_pList;
    QPushButton* m_pActivate;
    QPushButton* m_pClose;
};
