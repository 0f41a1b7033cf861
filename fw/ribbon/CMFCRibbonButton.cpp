#include "fw/ribbon/CMFCRibbonButton.h"

#include "fw/CCmdUI.h"
#include "fw/CWnd.h"
#include "fw/WindowMessages.h"
#include "fw/ribbon/CMFCRibbonBar.h"
#include "fw/ribbon/CMFCRibbonCategory.h"

#include <QActionGroup>
#include <QMenu>
#include <QStyle>
#include <QToolButton>

namespace {
constexpr int kLargeIconSize = 32;
constexpr int kSmallIconSize = 16;
// The mark that tells a button opens a menu.
const char16_t kMenuArrow[] = u"\u25BE";
const char kRightAlignProperty[] = "ribbonMenuRightAlign";

// A large button's label takes two lines, broken at the space that keeps
// the longer line shortest; a one-word label leaves the second line to the
// menu mark (or empty), so that all large buttons line up.
QString LargeLabel(const QString& strText, bool bHasMenu)
{
    const QString strArrow = bHasMenu ? QString::fromUtf16(kMenuArrow) : QString();
    qsizetype nBest = -1;
    qsizetype nBestLength = strText.size();
    for (qsizetype i = 0; i < strText.size(); ++i) {
        if (strText.at(i) != QLatin1Char(' '))
            continue;
        const qsizetype nLonger = qMax(i, strText.size() - i - 1);
        if (nLonger < nBestLength) {
            nBest = i;
            nBestLength = nLonger;
        }
    }
    if (nBest < 0)
        return strText + QLatin1Char('\n') + strArrow;
    QString strSecond = strText.mid(nBest + 1);
    if (bHasMenu)
        strSecond += QLatin1Char(' ') + strArrow;
    return strText.left(nBest) + QLatin1Char('\n') + strSecond;
}
}

CMFCRibbonButton::CMFCRibbonButton(UINT nID, const CString& strText, int nSmallImageIndex, int nLargeImageIndex, BOOL)
    : m_nSmallImageIndex(nSmallImageIndex)
    , m_nLargeImageIndex(nLargeImageIndex)
{
    SetID(nID);
    SetText(strText);
}

CMFCRibbonButton::CMFCRibbonButton(UINT nID, const CString& strText, const QIcon& icon, BOOL bAlwaysShowDescription)
    : CMFCRibbonButton(nID, strText, -1, -1, bAlwaysShowDescription)
{
    m_icon = icon;
}

CMFCRibbonButton::~CMFCRibbonButton()
{
    delete m_pMenu.data();
}

QIcon CMFCRibbonButton::GetIcon(BOOL bLargeIcon) const
{
    if (!m_icon.isNull())
        return m_icon;
    const CMFCRibbonCategory* pCategory = GetParentCategory();
    if (pCategory == nullptr)
        return QIcon();
    return bLargeIcon ? pCategory->GetLargeImages().ExtractIcon(m_nLargeImageIndex)
                      : pCategory->GetSmallImages().ExtractIcon(m_nSmallImageIndex);
}

BOOL CMFCRibbonButton::IsLargeButton() const
{
    return GetParentPanel() != nullptr && m_nLargeImageIndex >= 0 ? TRUE : FALSE;
}

void CMFCRibbonButton::SetMenu(const QList<CMFCRibbonMenuItem>& items, BOOL bIsDefaultCommand, BOOL bRightAlign)
{
    m_menuItems = items;
    m_bIsDefaultCommand = bIsDefaultCommand != FALSE;
    m_bRightAlignMenu = bRightAlign != FALSE;
    delete m_pMenu.data();
    UpdateWidget();
}

QMenu* CMFCRibbonButton::BuildMenu(QWidget* pParent)
{
    if (m_pMenu != nullptr)
        return m_pMenu.data();
    m_pMenu = new QMenu(pParent);
    m_pMenu->setObjectName(QStringLiteral("ribbonMenu"));
    m_pMenu->setProperty(kRightAlignProperty, m_bRightAlignMenu);
    auto* pRadioGroup = new QActionGroup(m_pMenu);
    pRadioGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    pRadioGroup->setObjectName(QStringLiteral("radioGroup"));
    for (const CMFCRibbonMenuItem& item : std::as_const(m_menuItems)) {
        QAction* pAction = m_pMenu->addAction(item.strText);
        pAction->setData(item.nID);
        const UINT nID = item.nID;
        QObject::connect(pAction, &QAction::triggered, m_pMenu, [this, nID] {
            if (CWnd* pOwner = GetOwner())
                pOwner->PostMessage(WM_COMMAND, nID);
            if (CMFCRibbonBar* pBar = GetTopLevelRibbonBar())
                pBar->ScheduleUpdate();
        });
    }
    QObject::connect(m_pMenu, &QMenu::aboutToShow, m_pMenu, [this] { UpdateMenuItems(m_pMenu); });
    return m_pMenu.data();
}

void CMFCRibbonButton::UpdateMenuItems(QMenu* pMenu)
{
    CWnd* pOwner = GetOwner();
    // The ribbon places the menu as it shows.
    if (CMFCRibbonBar* pBar = GetTopLevelRibbonBar())
        pMenu->installEventFilter(pBar);
    auto* pRadioGroup = pMenu->findChild<QActionGroup*>(QStringLiteral("radioGroup"));
    for (QAction* pAction : pMenu->actions()) {
        CCmdUI state(pAction->data().toUInt());
        state.DoUpdate(pOwner);
        pAction->setEnabled(state.IsEnabled());
        // Only a marked item shows its mark: a check, or a dot for a radio
        // item.
        const bool bMarked = state.GetCheck() != 0;
        pAction->setActionGroup(state.IsRadio() ? pRadioGroup : nullptr);
        pAction->setCheckable(bMarked);
        pAction->setChecked(bMarked);
    }
}

QMenu* CMFCRibbonButton::ShowMenu()
{
    QWidget* pButton = GetWidget();
    if (!HasMenu() || pButton == nullptr)
        return nullptr;
    QMenu* pMenu = BuildMenu(pButton);
    // popup() sends aboutToShow, which brings the items up to date; the
    // ribbon lines a right-aligned menu up with the button as it shows.
    pMenu->popup(pButton->mapToGlobal(QPoint(0, pButton->height())));
    return pMenu;
}

void CMFCRibbonButton::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    CMFCRibbonBaseElement::OnUpdateCmdUI(pTarget, bDisableIfNoHandler);
    if (m_pMenu != nullptr && m_pMenu->isVisible())
        UpdateMenuItems(m_pMenu);
}

void CMFCRibbonButton::OnClick()
{
    if (HasMenu() && !m_bIsDefaultCommand) {
        ShowMenu();
        return;
    }
    CMFCRibbonBaseElement::OnClick();
}

QWidget* CMFCRibbonButton::CreateWidget(QWidget* pParent)
{
    auto* pButton = new QToolButton(pParent);
    pButton->setAutoRaise(true);
    pButton->setFocusPolicy(Qt::NoFocus);
    QObject::connect(pButton, &QToolButton::clicked, pButton, [this] { OnClick(); });
    return pButton;
}

void CMFCRibbonButton::UpdateWidget()
{
    CMFCRibbonBaseElement::UpdateWidget();
    auto* pButton = qobject_cast<QToolButton*>(GetWidget());
    if (pButton == nullptr)
        return;
    const bool bLarge = IsLargeButton() != FALSE;
    const bool bShowsMenuMark = HasMenu() && !m_bIsDefaultCommand;
    // A button whose click is its command drops its menu down from an
    // arrow of its own.
    const bool bSplit = HasMenu() && m_bIsDefaultCommand;
    pButton->setMenu(bSplit ? BuildMenu(pButton) : nullptr);
    pButton->setPopupMode(bSplit ? QToolButton::MenuButtonPopup : QToolButton::DelayedPopup);
    const QIcon icon = GetIcon(bLarge ? TRUE : FALSE);
    pButton->setIcon(icon);
    if (GetParentPanel() == nullptr) {
        // In the tab row: the icon alone, or the label.
        pButton->setObjectName(QStringLiteral("ribbonTabElement"));
        pButton->setIconSize(QSize(kSmallIconSize, kSmallIconSize));
        QString strLabel = GetText();
        if (bShowsMenuMark && !strLabel.isEmpty())
            strLabel += QLatin1Char(' ') + QString::fromUtf16(kMenuArrow);
        pButton->setText(strLabel);
        pButton->setToolButtonStyle(strLabel.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextOnly);
    } else if (bLarge) {
        pButton->setObjectName(QStringLiteral("ribbonLargeButton"));
        pButton->setIconSize(QSize(kLargeIconSize, kLargeIconSize));
        pButton->setText(LargeLabel(GetText(), bShowsMenuMark));
        pButton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        pButton->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    } else {
        pButton->setObjectName(QStringLiteral("ribbonSmallButton"));
        pButton->setIconSize(QSize(kSmallIconSize, kSmallIconSize));
        QString strLabel = GetText();
        if (bShowsMenuMark)
            strLabel += QLatin1Char(' ') + QString::fromUtf16(kMenuArrow);
        pButton->setText(strLabel);
        pButton->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonTextBesideIcon);
    }
    pButton->setProperty("checkedState", IsChecked() != FALSE);
    pButton->style()->unpolish(pButton);
    pButton->style()->polish(pButton);
}
