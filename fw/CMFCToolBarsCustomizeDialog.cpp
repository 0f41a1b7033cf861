#include "fw/CMFCToolBarsCustomizeDialog.h"

#include "fw/CContextMenuManager.h"
#include "fw/CWinApp.h"
#include "fw/FrameworkLog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char kTitle[] = "Customize";
const char kMenusLabel[] = "Context menus:";
const char kItemsLabel[] = "Menu items (clear a check box to hide the item):";
const char kMoveUp[] = "Move &Up";
const char kMoveDown[] = "Move &Down";
const char kReset[] = "&Reset";
const char kSeparatorLabel[] = "(Separator)";
// The item's position among the menu's registered items.
constexpr int kPositionRole = Qt::UserRole;

// A menu label without its mnemonic marks ("&&" stays one "&").
QString WithoutMnemonics(const QString& strText)
{
    QString strPlain;
    for (qsizetype i = 0; i < strText.size(); ++i) {
        if (strText.at(i) == QLatin1Char('&') && i + 1 < strText.size())
            ++i;
        strPlain += strText.at(i);
    }
    return strPlain;
}
}

CMFCToolBarsCustomizeDialog::CMFCToolBarsCustomizeDialog(QWidget* pParentFrame, CContextMenuManager& manager,
                                                         CWinAppEx& app)
    : QDialog(pParentFrame)
    , m_manager(manager)
    , m_app(app)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QString::fromLatin1(kTitle));

    m_pMenus = new QComboBox(this);
    for (UINT nMenuId : m_manager.GetMenuIds())
        m_pMenus->addItem(m_manager.GetMenuName(nMenuId), nMenuId);

    m_pItems = new QListWidget(this);
    m_pMoveUp = new QPushButton(QString::fromLatin1(kMoveUp), this);
    m_pMoveDown = new QPushButton(QString::fromLatin1(kMoveDown), this);
    auto* pReset = new QPushButton(QString::fromLatin1(kReset), this);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Close, this);

    auto* pSideButtons = new QVBoxLayout;
    pSideButtons->addWidget(m_pMoveUp);
    pSideButtons->addWidget(m_pMoveDown);
    pSideButtons->addWidget(pReset);
    pSideButtons->addStretch(1);
    auto* pItemsRow = new QHBoxLayout;
    pItemsRow->addWidget(m_pItems, 1);
    pItemsRow->addLayout(pSideButtons);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(new QLabel(QString::fromLatin1(kMenusLabel), this));
    pLayout->addWidget(m_pMenus);
    pLayout->addWidget(new QLabel(QString::fromLatin1(kItemsLabel), this));
    pLayout->addLayout(pItemsRow);
    pLayout->addWidget(pButtons);

    connect(m_pMenus, &QComboBox::currentIndexChanged, this, [this] { FillItems(); });
    connect(m_pItems, &QListWidget::itemChanged, this, [this] { ApplyLayout(); });
    connect(m_pItems, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });
    connect(m_pMoveUp, &QPushButton::clicked, this, [this] { MoveCurrentItem(-1); });
    connect(m_pMoveDown, &QPushButton::clicked, this, [this] { MoveCurrentItem(1); });
    connect(pReset, &QPushButton::clicked, this, [this] { ResetCurrentMenu(); });
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::close);
    FillItems();
}

BOOL CMFCToolBarsCustomizeDialog::Create()
{
    show();
    raise();
    activateWindow();
    return TRUE;
}

UINT CMFCToolBarsCustomizeDialog::CurrentMenuId() const
{
    return m_pMenus->currentData().toUInt();
}

void CMFCToolBarsCustomizeDialog::FillItems()
{
    m_bFilling = true;
    m_pItems->clear();
    const UINT nMenuId = CurrentMenuId();
    const QList<CContextMenuItem> items = m_manager.GetOriginalItems(nMenuId);
    const QList<int> layout = m_manager.GetLayout(nMenuId);
    // The shown items in their order, then the hidden ones in theirs.
    QList<int> order = layout;
    for (int i = 0; i < items.size(); ++i) {
        if (!order.contains(i))
            order.append(i);
    }
    for (int nPosition : std::as_const(order)) {
        const CContextMenuItem& item = items.at(nPosition);
        auto* pItem =
            new QListWidgetItem(item.nID == 0 ? QString::fromLatin1(kSeparatorLabel) : WithoutMnemonics(item.strText));
        pItem->setData(kPositionRole, nPosition);
        Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
        if (!m_manager.IsItemKeptShown(nMenuId, item.nID))
            flags |= Qt::ItemIsUserCheckable;
        pItem->setFlags(flags);
        pItem->setCheckState(layout.contains(nPosition) ? Qt::Checked : Qt::Unchecked);
        m_pItems->addItem(pItem);
    }
    m_bFilling = false;
    UpdateButtons();
}

void CMFCToolBarsCustomizeDialog::MoveCurrentItem(int nStep)
{
    const int nRow = m_pItems->currentRow();
    const int nTarget = nRow + nStep;
    if (nRow < 0 || nTarget < 0 || nTarget >= m_pItems->count())
        return;
    m_bFilling = true;
    QListWidgetItem* pItem = m_pItems->takeItem(nRow);
    m_pItems->insertItem(nTarget, pItem);
    m_pItems->setCurrentRow(nTarget);
    m_bFilling = false;
    ApplyLayout();
}

void CMFCToolBarsCustomizeDialog::ApplyLayout()
{
    if (m_bFilling)
        return;
    QList<int> layout;
    for (int nRow = 0; nRow < m_pItems->count(); ++nRow) {
        const QListWidgetItem* pItem = m_pItems->item(nRow);
        if (pItem->checkState() == Qt::Checked)
            layout.append(pItem->data(kPositionRole).toInt());
    }
    m_manager.SetLayout(CurrentMenuId(), layout);
    SaveLayouts();
    UpdateButtons();
}

void CMFCToolBarsCustomizeDialog::SaveLayouts()
{
    // The menu keeps the layout the user chose for this run either way.
    if (!m_manager.SaveState(m_app))
        qCWarning(lcFramework, "The menu layout could not be saved.");
}

void CMFCToolBarsCustomizeDialog::ResetCurrentMenu()
{
    m_manager.ResetMenu(CurrentMenuId());
    SaveLayouts();
    FillItems();
}

void CMFCToolBarsCustomizeDialog::UpdateButtons()
{
    const int nRow = m_pItems->currentRow();
    m_pMoveUp->setEnabled(nRow > 0);
    m_pMoveDown->setEnabled(nRow >= 0 && nRow + 1 < m_pItems->count());
}
