#include "MainFrameFixture.h"

#include "fw/CNewTypeDlg.h"

#include <QListWidget>
#include <QTest>

namespace {

using AcceleratorTest = MainFrameFixture;

TEST_F(AcceleratorTest, CtrlNOpensASecondPageBesideTheFirst)
{
    Start({});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Frame()));
    QTest::keyClick(Frame(), Qt::Key_N, Qt::ControlModifier);
    Pump();
    auto* pNewDialog = Frame()->findChild<CNewTypeDlg*>();
    ASSERT_NE(pNewDialog, nullptr);
    ASSERT_GT(pNewDialog->GetList()->count(), 1);
    pNewDialog->GetList()->setCurrentRow(0);
    pNewDialog->accept();
    Pump();
    EXPECT_EQ(m_pApp->GetOpenDocumentCount(), 2);
}

TEST_F(AcceleratorTest, KeysWithoutAHandlerOpenNothing)
{
    Start({});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Frame()));
    for (const QKeyCombination key : {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_S, Qt::CTRL | Qt::Key_Z,
                                      QKeyCombination(Qt::Key_F6)})
        QTest::keyClick(Frame(), key.key(), key.keyboardModifiers());
    Pump();
    EXPECT_EQ(Frame()->findChild<CNewTypeDlg*>(), nullptr);
    EXPECT_EQ(m_pApp->GetOpenDocumentCount(), 1);
}

}
