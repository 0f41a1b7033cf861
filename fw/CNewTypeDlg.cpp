#include "fw/CNewTypeDlg.h"

#include "fw/CDocTemplate.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

namespace {
const char kTitle[] = "New";
const char kPrompt[] = "New";
}

CNewTypeDlg::CNewTypeDlg(const QList<CDocTemplate*>& templates, QWidget* pParent)
    : QDialog(pParent)
    , m_templates(templates)
    , m_pList(new QListWidget(this))
{
    setWindowTitle(QString::fromLatin1(kTitle));
    for (CDocTemplate* pTemplate : templates) {
        CString strName;
        pTemplate->GetDocString(strName, CDocTemplate::fileNewName);
        m_pList->addItem(strName);
    }
    m_pList->setCurrentRow(0);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(pButtons, &QDialogButtonBox::accepted, this, &CNewTypeDlg::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &CNewTypeDlg::reject);
    connect(m_pList, &QListWidget::itemActivated, this, &CNewTypeDlg::accept);
    auto* pLayout = new QVBoxLayout(this);
    m_pList->setAccessibleName(QString::fromLatin1(kPrompt));
    pLayout->addWidget(m_pList);
    pLayout->addWidget(pButtons);
}

CDocTemplate* CNewTypeDlg::GetSelectedTemplate() const
{
    const int nRow = m_pList->currentRow();
    return nRow >= 0 && nRow < m_templates.size() ? m_templates.at(nRow) : nullptr;
}

void CNewTypeDlg::accept()
{
    CDocTemplate* pTemplate = GetSelectedTemplate();
    QDialog::accept();
    if (pTemplate != nullptr)
        pTemplate->OpenDocumentFile(nullptr);
}
