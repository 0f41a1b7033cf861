#include "PrintQString.h"
#include "fw/CDialog.h"
#include "fw/MessageBox.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>

namespace {

const UINT kTemplateId = 4242;
const int kNameLabel = 1001;
const int kNameEdit = 1002;

// A dialog that shows m_strName in a label, edits m_strAnswer, and counts
// what happens to it.
class CTestDialog : public CDialog
{
public:
    CTestDialog()
        : CDialog(kTemplateId)
    {
        SetDlgItem(kNameLabel, new QLabel(this));
        SetDlgItem(kNameEdit, new QLineEdit(this));
    }

    CString m_strName;
    CString m_strAnswer;
    std::function<void(CTestDialog&)> m_onInit;
    std::function<void(CTestDialog&, UINT)> m_onTimer;
    std::vector<UINT> m_ticks;
    int m_nCancels = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, kNameLabel, m_strName);
        DDX_Text(pDX, kNameEdit, m_strAnswer);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (m_onInit)
            m_onInit(*this);
        return TRUE;
    }
    void OnTimer(UINT nIDEvent) override
    {
        m_ticks.push_back(nIDEvent);
        if (m_onTimer)
            m_onTimer(*this, nIDEvent);
    }
    void OnCancel() override
    {
        ++m_nCancels;
        CDialog::OnCancel();
    }
};

QLabel* NameLabel(CDialog& dialog)
{
    return qobject_cast<QLabel*>(dialog.GetDlgItem(kNameLabel));
}

TEST(DialogTest, DriverMeetsTheShownDialogAndItsEndIsTheResult)
{
    CTestDialog dialog;
    dialog.m_strName = QStringLiteral("Kestrel");
    bool bWasShown = false;
    CString strShownName;
    const CModalDialogDriver driver([&](CDialog& modal) {
        bWasShown = modal.isVisible() && modal.isModal() && modal.GetTemplateID() == kTemplateId;
        strShownName = NameLabel(modal)->text();
        modal.EndDialog(42);
    });

    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_TRUE(bWasShown);
    EXPECT_EQ(strShownName, "Kestrel");
    EXPECT_FALSE(dialog.isVisible());
}

TEST(DialogTest, EscapeAndTheCloseBoxCancel)
{
    CTestDialog dialog;
    {
        const CModalDialogDriver driver([](CDialog& modal) { QTest::keyClick(&modal, Qt::Key_Escape); });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    }
    {
        const CModalDialogDriver driver([](CDialog& modal) { modal.close(); });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    }
    EXPECT_EQ(dialog.m_nCancels, 2);
}

TEST(DialogTest, OkReadsTheControlsBackIntoTheMembers)
{
    CTestDialog dialog;
    const CModalDialogDriver driver([](CDialog& modal) {
        qobject_cast<QLineEdit*>(modal.GetDlgItem(kNameEdit))->setText(QStringLiteral("typed"));
        modal.accept();
    });

    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strAnswer, "typed");
}

TEST(DialogTest, TimersTickByIdUntilKilledAndStopWithTheDialog)
{
    CTestDialog dialog;
    int nFastTicks = 0;
    dialog.m_onInit = [](CTestDialog& self) {
        EXPECT_EQ(self.SetTimer(7, 5), 7u);
        EXPECT_EQ(self.SetTimer(0, 5), 0u);
    };
    dialog.m_onTimer = [&](CTestDialog& self, UINT nIDEvent) {
        if (nIDEvent == 7 && ++nFastTicks == 3) {
            EXPECT_TRUE(self.KillTimer(7));
            EXPECT_FALSE(self.KillTimer(7));
            self.SetTimer(8, 20);
            self.SetTimer(9, 1);
        } else if (nIDEvent == 8) {
            self.EndDialog(IDOK);
        }
    };

    // No driver: the dialog ends itself.
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_GE(dialog.m_ticks.size(), 5u);
    EXPECT_EQ(std::vector<UINT>(dialog.m_ticks.begin(), dialog.m_ticks.begin() + 3), std::vector<UINT>({7, 7, 7}));
    EXPECT_EQ(dialog.m_ticks.back(), 8u);
    EXPECT_EQ(std::count(dialog.m_ticks.begin(), dialog.m_ticks.end(), 8u), 1);

    // Timer 9 was still running when the dialog ended; it ended with it.
    const size_t nTicksAtEnd = dialog.m_ticks.size();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 50)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(dialog.m_ticks.size(), nTicksAtEnd);
}

TEST(DialogTest, DialogThatEndsWhileStartingNeverWaits)
{
    CTestDialog dialog;
    dialog.m_onInit = [](CTestDialog& self) { self.EndDialog(IDCANCEL); };
    bool bDriven = false;
    const CModalDialogDriver driver([&](CDialog&) { bDriven = true; });

    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(bDriven);
}

TEST(DialogTest, DialogUnitsFollowTheFont)
{
    CTestDialog dialog;
    QFont font = dialog.font();
    font.setPointSize(10);
    dialog.setFont(font);
    QRect small(4, 8, 40, 16);
    dialog.MapDialogRect(small);
    font.setPointSize(20);
    dialog.setFont(font);
    QRect large(4, 8, 40, 16);
    dialog.MapDialogRect(large);

    EXPECT_GT(small.width(), 0);
    EXPECT_GT(large.width(), small.width());
    EXPECT_GT(large.height(), small.height());
    // Eight vertical units are one line of text.
    EXPECT_EQ(large.y(), QFontMetrics(font).height());
}

}
