#include "PageFixture.h"

#include "fw/CMFCToolBarImages.h"
#include "fw/ribbon/CMFCRibbonStatusBar.h"
#include "fw/ribbon/CMFCRibbonStatusBarPane.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

using namespace PageFixture;

namespace {

constexpr UINT kStatusPaneId = 120;

class RibbonStatusBarTest : public PageTest
{
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        // The frame owns its bar, as the main frame's member bar is its child.
        m_pStatusBar = new CMFCRibbonStatusBar;
        ASSERT_TRUE(m_pStatusBar->Create(m_pFrame));
        m_pStatus = new CMFCRibbonStatusBarPane(kStatusPaneId, QStringLiteral("Current Status"), TRUE);
        m_pStatusBar->AddElement(m_pStatus, QStringLiteral("Status"));
        m_pStatus->SetAlmostLargeText(QString(40, QLatin1Char('X')));
        m_pContact = new CMFCRibbonStatusBarPane();
        m_pStatusBar->AddExtendedElement(m_pContact, QStringLiteral("XXXX"));
        m_pContact->SetAlmostLargeText(QString(12, QLatin1Char('X')));
        m_pFrame->show();
        QCoreApplication::processEvents();
    }

    CMFCRibbonStatusBar* m_pStatusBar = nullptr;
    CMFCRibbonStatusBarPane* m_pStatus = nullptr;
    CMFCRibbonStatusBarPane* m_pContact = nullptr;
};

TEST_F(RibbonStatusBarTest, PanesKeepTheirTextsAndDescriptions)
{
    EXPECT_EQ(m_pStatus->GetID(), kStatusPaneId);
    EXPECT_TRUE(m_pStatus->IsStatic());
    EXPECT_EQ(m_pStatus->GetText(), QStringLiteral("Current Status"));
    EXPECT_EQ(m_pContact->GetText(), QString());

    m_pStatus->SetDescription(QStringLiteral("This pane shows the status"));
    m_pStatus->SetText(QStringLiteral("Playing\nsecond line"));
    m_pStatus->Redraw();
    EXPECT_EQ(m_pStatus->GetText(), QStringLiteral("Playing\nsecond line"));
    EXPECT_EQ(m_pStatus->GetDescription(), QStringLiteral("This pane shows the status"));
    EXPECT_EQ(m_pStatus->GetToolTipText(), QStringLiteral("This pane shows the status"));
    EXPECT_EQ(m_pContact->GetDescription(), QString());

    EXPECT_EQ(m_pStatusBar->GetCount(), 1);
    EXPECT_EQ(m_pStatusBar->GetExCount(), 1);
    EXPECT_EQ(m_pStatusBar->GetElement(0), m_pStatus);
    EXPECT_EQ(m_pStatusBar->GetExElement(0), m_pContact);
    EXPECT_EQ(m_pStatusBar->GetLabel(m_pContact), QStringLiteral("XXXX"));
}

TEST_F(RibbonStatusBarTest, PanesAreAsWideAsTheirSampleAndTheExtendedOnesSitAtTheRight)
{
    const QFontMetrics metrics(m_pStatus->GetWidget()->font());
    EXPECT_GE(m_pStatus->GetWidget()->width(), metrics.horizontalAdvance(QString(40, QLatin1Char('X'))));
    EXPECT_LT(m_pStatus->GetWidget()->width(), metrics.horizontalAdvance(QString(44, QLatin1Char('X'))));
    EXPECT_GE(m_pContact->GetWidget()->width(), metrics.horizontalAdvance(QString(12, QLatin1Char('X'))));
    const QRect bar = m_pStatusBar->rect();
    EXPECT_EQ(m_pContact->GetWidget()->geometry().right(),
              bar.right() - m_pStatusBar->layout()->contentsMargins().right());
    EXPECT_LT(m_pStatus->GetWidget()->x(), m_pContact->GetWidget()->x());

    // The bar sits at the foot of its frame.
    EXPECT_EQ(m_pStatusBar->geometry().bottom(), m_pFrame->rect().bottom());
}

TEST_F(RibbonStatusBarTest, ARightClickListsThePanesByLabelToHideThem)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), m_pStatusBar->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(m_pStatusBar, &event);
    auto* pMenu = m_pStatusBar->findChild<QMenu*>();
    ASSERT_NE(pMenu, nullptr);
    const QList<QAction*> actions = pMenu->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions.at(0)->text(), QStringLiteral("Status"));
    EXPECT_EQ(actions.at(1)->text(), QStringLiteral("XXXX"));
    EXPECT_TRUE(actions.at(0)->isChecked());

    actions.at(0)->trigger();
    EXPECT_FALSE(m_pStatus->IsVisible());
    EXPECT_TRUE(m_pStatus->GetWidget()->isHidden());
    pMenu->close();
}

TEST(ToolBarImagesTest, ImagesAreTheSquaresOfTheStripFromTheLeft)
{
    QImage strip(48, 16, QImage::Format_ARGB32);
    QPainter painter(&strip);
    painter.fillRect(0, 0, 16, 16, Qt::red);
    painter.fillRect(16, 0, 16, 16, Qt::green);
    painter.fillRect(32, 0, 16, 16, Qt::blue);
    painter.end();

    CMFCToolBarImages images;
    images.SetImageSize(CSize(16, 16));
    EXPECT_FALSE(images.IsValid());
    EXPECT_TRUE(images.GetImage(0).isNull());
    ASSERT_TRUE(images.Load(strip));
    EXPECT_EQ(images.GetCount(), 3);
    EXPECT_EQ(images.GetImage(1).size(), QSize(16, 16));
    EXPECT_EQ(images.GetImage(1).toImage().pixelColor(8, 8), QColor(Qt::green));
    EXPECT_EQ(images.GetImage(2).toImage().pixelColor(0, 15), QColor(Qt::blue));
    EXPECT_TRUE(images.GetImage(3).isNull());
    EXPECT_TRUE(images.GetImage(-1).isNull());
    EXPECT_TRUE(images.ExtractIcon(7).isNull());
    EXPECT_FALSE(images.ExtractIcon(0).isNull());
    EXPECT_FALSE(images.Load(QStringLiteral("/nonexistent/strip.png")));
}

}
