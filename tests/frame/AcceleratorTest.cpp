#include "MainFrameFixture.h"

#include "fw/CNewTypeDlg.h"

#include <QApplication>
#include <QFileDialog>
#include <QListWidget>
#include <QTemporaryFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

namespace {

// Counts the key presses that reach one widget.
class KeyPressCounter : public QObject
{
public:
    int m_nPresses = 0;

protected:
    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        if (pEvent->type() != QEvent::KeyPress)
            return false;
        // The modifiers go down on their own first.
        const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
        if (nKey != Qt::Key_Control && nKey != Qt::Key_Shift && nKey != Qt::Key_Alt)
            ++m_nPresses;
        return false;
    }
};

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

TEST_F(AcceleratorTest, CtrlOOpensTheOpenDialogAndTheChosenFileOpensAPage)
{
    Start({});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Frame()));
    QTemporaryFile file;
    ASSERT_TRUE(file.open());

    QTest::keyClick(Frame(), Qt::Key_O, Qt::ControlModifier);
    Pump();
    auto* pOpenDialog = Frame()->findChild<QFileDialog*>();
    ASSERT_NE(pOpenDialog, nullptr);
    EXPECT_EQ(m_pApp->GetOpenDocumentCount(), 1);
    // Typed into the dialog's file name field, as a user may.
    auto* pFileName = pOpenDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(pFileName, nullptr);
    pFileName->setText(file.fileName());
    static_cast<QDialog*>(pOpenDialog)->accept();
    Pump();
    EXPECT_EQ(m_pApp->GetOpenDocumentCount(), 2);
}

TEST_F(AcceleratorTest, KeysWithoutAHandlerReachTheControlWithTheFocus)
{
    Start({});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Frame()));
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    QWidget* pFocus = QApplication::focusWidget();
    ASSERT_NE(pFocus, nullptr);
    KeyPressCounter counter;
    pFocus->installEventFilter(&counter);

    // A key whose command has a handler is taken by the frame.
    QTest::keyClick(pFocus, Qt::Key_N, Qt::ControlModifier);
    Pump();
    EXPECT_EQ(counter.m_nPresses, 0);
    delete Frame()->findChild<CNewTypeDlg*>();

    const QList<QKeyCombination> keys = {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_S, Qt::CTRL | Qt::Key_Z,
                                         QKeyCombination(Qt::Key_F6)};
    for (const QKeyCombination key : keys)
        QTest::keyClick(pFocus, key.key(), key.keyboardModifiers());
    Pump();
    EXPECT_EQ(counter.m_nPresses, keys.size());
    EXPECT_EQ(m_pApp->GetOpenDocumentCount(), 1);
}

}
