// The settings page's form as dialog 313 lays it out: its texts, where the
// controls sit, and the order the Tab key visits them.
#include "fw/CHotKeyCtrl.h"
#include "hotkeys/CRadioSettingsView.h"
#include "fw/DialogUnits.h"
#include "res/Resource.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QWidget* Control(const CRadioSettingsView& view, UINT nID)
{
    return view.GetFormWidget()->findChild<QWidget*>(QString::number(nID));
}

// The next control that the Tab key stops at.
QWidget* NextTabStop(QWidget* pWidget)
{
    do
        pWidget = pWidget->nextInFocusChain();
    while ((pWidget->focusPolicy() & Qt::TabFocus) == 0);
    return pWidget;
}

TEST(RadioSettingsFormTest, EachRowHasItsLabelHotKeyBoxAssignAndClearWhereTheDialogPutsThem)
{
    CRadioSettingsView view;
    const QFont font = view.GetFormWidget()->font();
    const auto pixels = [&font](int x, int y, int cx, int cy) {
        return DialogUnits::ToPixels(QRect(x, y, cx, cy), font);
    };

    EXPECT_EQ(view.GetFormWidget()->size(), DialogUnits::ToPixels(QSize(483, 281), font));
    auto* pGroup = view.GetFormWidget()->findChild<QGroupBox*>();
    ASSERT_NE(pGroup, nullptr);
    EXPECT_EQ(pGroup->title(), "System Wide Hot Keys");

    struct Row {
        UINT nHotKey, nAssign, nClear;
        int y, nButtonY;
        const char* pszLabel;
        CHotKeyCtrl* pControl;
    };
    const Row rows[] = {
        {IDC_HOTKEY_PLAY, IDC_ASSIGN_PLAY, IDC_CLEAR_PLAY, 24, 23, "&Play :", &view.m_hotKeyPlay},
        {IDC_HOTKEY_PLAY_NEXT, IDC_ASSIGN_PLAY_NEXT, IDC_CLEAR_PLAY_NEXT, 40, 38,
         "Play &Next Channel :", &view.m_hotKeyPlayNext},
        {IDC_HOTKEY_PLAY_PREV, IDC_ASSIGN_PLAY_PREV, IDC_CLEAR_PLAY_PREV, 56, 54,
         "Play P&revious Channel :", &view.m_hotKeyPlayPrev},
        {IDC_HOTKEY_STOP, IDC_ASSIGN_STOP, IDC_CLEAR_STOP, 72, 71, "&Stop :", &view.m_hotKeyStop},
    };
    QWidget* pExpectedNext = nullptr;
    for (const Row& row : rows) {
        ASSERT_EQ(Control(view, row.nHotKey), row.pControl);
        EXPECT_EQ(row.pControl->geometry(), pixels(186, row.y, 80, 14));
        auto* pAssign = qobject_cast<QPushButton*>(Control(view, row.nAssign));
        auto* pClear = qobject_cast<QPushButton*>(Control(view, row.nClear));
        ASSERT_NE(pAssign, nullptr);
        ASSERT_NE(pClear, nullptr);
        EXPECT_EQ(pAssign->text(), "Assign");
        EXPECT_EQ(pClear->text(), "Clear");
        EXPECT_EQ(pAssign->geometry(), pixels(272, row.nButtonY, 50, 14));
        EXPECT_EQ(pClear->geometry(), pixels(328, row.nButtonY, 50, 14));
        bool bLabelled = false;
        for (QLabel* pLabel : view.GetFormWidget()->findChildren<QLabel*>())
            bLabelled |= pLabel->text() == QLatin1String(row.pszLabel) && pLabel->buddy() == row.pControl;
        EXPECT_TRUE(bLabelled) << row.pszLabel;
        if (pExpectedNext != nullptr) {
            EXPECT_EQ(pExpectedNext, row.pControl);
        }
        pExpectedNext = NextTabStop(row.pControl);
    }
    // After the boxes the Assign buttons, then the Clear buttons.
    for (UINT nID = IDC_ASSIGN_PLAY; nID <= IDC_CLEAR_STOP; ++nID) {
        EXPECT_EQ(pExpectedNext, Control(view, nID)) << nID;
        pExpectedNext = NextTabStop(Control(view, nID));
    }
    bool bNote = false;
    for (QLabel* pLabel : view.GetFormWidget()->findChildren<QLabel*>())
        bNote |= pLabel->text() ==
            "Note : Assign System Wide Hot Keys and then Switch to Radio Tab to use the System Wide Hotkeys.";
    EXPECT_TRUE(bNote);
}

}
