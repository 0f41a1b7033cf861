#include "MainFrameFixture.h"

#include "res/ProductInfo.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

namespace {

class WindowPlacementTest : public MainFrameFixture
{
protected:
    static void SavePlacement(const QRect& rect, int nShowCmd)
    {
        QSettings profile(QSettings::IniFormat, QSettings::UserScope, ProductInfo::MakerDomain(),
                          ProductInfo::ApplicationTitle());
        profile.setValue(QStringLiteral("Workspace/MainWindowLeft"), rect.left());
        profile.setValue(QStringLiteral("Workspace/MainWindowTop"), rect.top());
        profile.setValue(QStringLiteral("Workspace/MainWindowRight"), rect.left() + rect.width());
        profile.setValue(QStringLiteral("Workspace/MainWindowBottom"), rect.top() + rect.height());
        profile.setValue(QStringLiteral("Workspace/MainWindowShowCmd"), nShowCmd);
        // Not a first run: the radio page leaves the window's size alone.
        profile.setValue(QStringLiteral("Settings/CKestrelRadioView"), 1);
        profile.sync();
    }
};

TEST_F(WindowPlacementTest, MaximisedPlacementComesBackAsItsNormalRectangleHidden)
{
    const QRect saved(40, 30, 520, 400);
    SavePlacement(saved, 3);
    Start();
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_FALSE(Frame()->isMaximized());
    EXPECT_EQ(Frame()->geometry(), saved);
}

TEST_F(WindowPlacementTest, PlacementIsStoredWhenTheProgramEndsAndRestoredNextTime)
{
    SavePlacement(QRect(10, 20, 500, 380), 1);
    Start();
    Frame()->setGeometry(QRect(60, 50, 540, 420));
    TearDown();

    Start();
    EXPECT_EQ(Frame()->geometry(), QRect(60, 50, 540, 420));
}

TEST_F(WindowPlacementTest, RectangleNoScreenShowsAnyMoreIsBroughtOntoTheScreen)
{
    SavePlacement(QRect(20000, 15000, 500, 380), 1);
    Start();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(available.intersects(Frame()->geometry())) << Frame()->geometry().x();
    EXPECT_EQ(Frame()->geometry().topLeft(), available.topLeft());
}

TEST_F(WindowPlacementTest, NothingSavedLeavesTheFramesOwnPlacement)
{
    Start();
    EXPECT_FALSE(m_pApp->ReloadWindowPlacement(Frame()));
}

}
