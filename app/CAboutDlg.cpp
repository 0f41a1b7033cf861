#include "app/CAboutDlg.h"

#include "fw/MessageBox.h"
#include "res/ProductInfo.h"
#include "res/Resource.h"
#include "res/ResourceImages.h"
#include "res/StringTable.h"

#include <QLabel>
#include <QPushButton>

namespace {
// Positions and sizes in dialog units.
const QRect kDialogRect(0, 0, 317, 113);
const QRect kIconRect(14, 14, 20, 20);
const QRect kVersionRect(101, 40, 114, 8);
const QRect kContactRect(101, 56, 114, 8);
const QRect kOkRect(247, 85, 65, 22);
const QRect kMarginRect(0, 0, 7, 7);

QRect Mapped(const CDialog& dialog, QRect rect)
{
    dialog.MapDialogRect(rect);
    return rect;
}
}

CAboutDlg::CAboutDlg(QWidget* pParentWnd)
    : CDialog(IDD_ABOUTBOX, pParentWnd)
{
    setWindowTitle(Texts::kAboutTitle);
    setFixedSize(Mapped(*this, kDialogRect).size());

    auto* pIcon = new QLabel(this);
    const QRect iconRect = Mapped(*this, kIconRect);
    pIcon->setGeometry(iconRect);
    pIcon->setPixmap(ResourceImages::ApplicationIcon().pixmap(iconRect.size()));

    auto* pVersion = new QLabel(Texts::kAboutVersion, this);
    pVersion->setTextFormat(Qt::PlainText);
    pVersion->setGeometry(Mapped(*this, kVersionRect));

    auto* pContact = new QLabel(Texts::kAboutContactPrefix + ProductInfo::SupportAddress(), this);
    pContact->setTextFormat(Qt::PlainText);
    QRect contactRect = Mapped(*this, kContactRect);
    // The address decides the line's length: it may run on to the dialog's
    // right margin rather than be cut.
    contactRect.setRight(width() - Mapped(*this, kMarginRect).width());
    pContact->setGeometry(contactRect);

    auto* pOk = new QPushButton(Texts::kAboutOk, this);
    pOk->setGeometry(Mapped(*this, kOkRect));
    pOk->setDefault(true);
    SetDlgItem(IDOK, pOk);
    connect(pOk, &QPushButton::clicked, this, &CAboutDlg::accept);
}
