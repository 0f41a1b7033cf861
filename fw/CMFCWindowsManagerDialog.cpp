#include "fw/CMFCWindowsManagerDialog.h"

#include "fw/CDocTemplate.h"
#include "fw/CDocument.h"
#include "fw/CMDIChildWndEx.h"
#include "fw/CMDIFrameWndEx.h"
#include "fw/WindowMessages.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char kTitle[] = "Windows";
const char kActivate[] = "&Activate";
const char kCloseWindows[] = "&Close Window(s)";
const char kUntitledWindow[] = "Window %1";

// A page's name in the list: its caption, else the name of its kind of
// document, else its place.
QString WindowName(const CMDIChildWndEx* pChild, int nIndex)
{
    CString strName = pChild->GetWindowText();
    if (strName.isEmpty()) {
        const CDocument* pDoc = pChild->GetActiveDocument();
        if (pDoc != nullptr && pDoc->GetDocTemplate() != nullptr)
            pDoc->GetDocTemplate()->GetDocString(strName, CDocTemplate::docName);
    }
    return strName.isEmpty() ? QString::fromLatin1(kUntitledWindow).arg(nIndex + 1) : strName;
}
}

CMFCWindowsManagerDialog::CMFCWindowsManagerDialog(CMDIFrameWndEx* pMDIFrame)
    : QDialog(pMDIFrame)
    , m_pMDIFrame(pMDIFrame)
    , m_pList(new QListWidget(this))
    , m_pActivate(new QPushButton(QString::fromLatin1(kActivate), this))
    , m_pClose(new QPushButton(QString::fromLatin1(kCloseWindows), this))
{
    setWindowTitle(QString::fromLatin1(kTitle));
    m_pList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* pOk = new QDialogButtonBox(QDialogButtonBox::Ok, Qt::Vertical, this);
    auto* pButtons = new QVBoxLayout;
    pButtons->addWidget(m_pActivate);
    pButtons->addWidget(m_pClose);
    pButtons->addStretch(1);
    pButtons->addWidget(pOk);
    auto* pLayout = new QHBoxLayout(this);
    pLayout->addWidget(m_pList, 1);
    pLayout->addLayout(pButtons);

    connect(m_pActivate, &QPushButton::clicked, this, &CMFCWindowsManagerDialog::OnActivate);
    connect(m_pClose, &QPushButton::clicked, this, &CMFCWindowsManagerDialog::OnCloseWindows);
    connect(m_pList, &QListWidget::itemActivated, this, &CMFCWindowsManagerDialog::OnActivate);
    connect(m_pList, &QListWidget::itemSelectionChanged, this, &CMFCWindowsManagerDialog::UpdateButtons);
    connect(pOk, &QDialogButtonBox::accepted, this, &QDialog::accept);
    FillWindowList();
}

void CMFCWindowsManagerDialog::FillWindowList()
{
    m_pList->clear();
    if (m_pMDIFrame == nullptr)
        return;
    const CMDIChildWndEx* pActive = m_pMDIFrame->MDIGetActive();
    const QList<CMDIChildWndEx*> children = m_pMDIFrame->GetMDIChildren();
    for (int i = 0; i < children.size(); ++i) {
        auto* pItem = new QListWidgetItem(WindowName(children.at(i), i), m_pList);
        pItem->setData(Qt::UserRole, QVariant::fromValue<QObject*>(children.at(i)));
        if (children.at(i) == pActive)
            m_pList->setCurrentItem(pItem);
    }
    UpdateButtons();
}

CMDIChildWndEx* CMFCWindowsManagerDialog::ChildAt(int nRow) const
{
    const QListWidgetItem* pItem = m_pList->item(nRow);
    return pItem != nullptr ? qobject_cast<CMDIChildWndEx*>(pItem->data(Qt::UserRole).value<QObject*>()) : nullptr;
}

void CMFCWindowsManagerDialog::UpdateButtons()
{
    const int nSelected = static_cast<int>(m_pList->selectedItems().size());
    m_pActivate->setEnabled(nSelected == 1);
    m_pClose->setEnabled(nSelected > 0);
}

void CMFCWindowsManagerDialog::OnActivate()
{
    CMDIChildWndEx* pChild = ChildAt(m_pList->currentRow());
    if (pChild == nullptr || m_pMDIFrame == nullptr)
        return;
    pChild->ActivateFrame();
    accept();
}

void CMFCWindowsManagerDialog::OnCloseWindows()
{
    QList<CMDIChildWndEx*> chosen;
    for (int nRow = 0; nRow < m_pList->count(); ++nRow) {
        if (m_pList->item(nRow)->isSelected()) {
            if (CMDIChildWndEx* pChild = ChildAt(nRow))
                chosen.append(pChild);
        }
    }
    // Each page closes as its own close command would close it.
    for (CMDIChildWndEx* pChild : std::as_const(chosen)) {
        if (IsWindow(pChild) && !pChild->IsDestroyed())
            pChild->SendMessage(WM_CLOSE);
    }
    FillWindowList();
}
