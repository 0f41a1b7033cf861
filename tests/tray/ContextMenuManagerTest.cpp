// The framework's context menus: a stored layout read back whatever the
// workspace store holds, the item that must stay, the default item, and
// each item's state asked of the owner's command route.
#include "TestApplication.h"
#include "fw/CCmdUI.h"
#include "fw/CContextMenuManager.h"
#include "fw/CWnd.h"

#include <QCoreApplication>
#include <QMenu>
#include <gtest/gtest.h>

namespace {

constexpr UINT kMenu = 311;
constexpr UINT kOpen = 1;
constexpr UINT kKeep = 2;
constexpr UINT kQuit = 3;

const QList<CContextMenuItem> kItems{{kOpen, QStringLiteral("Open")},
                                     {0, QString()},
                                     {kKeep, QStringLiteral("Customize")},
                                     {kQuit, QStringLiteral("Quit")}};

// A window that handles only the open command.
class OwnerWindow : public CWnd
{
public:
    OwnerWindow() { MapCommand(kOpen, &OwnerWindow::OnOpen); }
    void OnOpen() { ++m_nOpened; }
    int m_nOpened = 0;
};

QList<UINT> Ids(const QList<CContextMenuItem>& items)
{
    QList<UINT> ids;
    for (const CContextMenuItem& item : items)
        ids.append(item.nID);
    return ids;
}

TEST(ContextMenuManagerTest, AStoredLayoutIsReadBackAsFarAsItMakesSense)
{
    TestApplication app;
    CContextMenuManager manager;
    ASSERT_TRUE(manager.AddMenu(QStringLiteral("Tray"), kMenu, kItems));
    EXPECT_FALSE(manager.AddMenu(QStringLiteral("Again"), kMenu, kItems));
    manager.KeepItemShown(kMenu, kKeep);

    manager.SetLayout(kMenu, {3, 0});
    EXPECT_TRUE(manager.SaveState(app.App()));
    CContextMenuManager restarted;
    restarted.AddMenu(QStringLiteral("Tray"), kMenu, kItems);
    restarted.KeepItemShown(kMenu, kKeep);
    restarted.LoadState(app.App());
    EXPECT_EQ(Ids(restarted.GetMenuItems(kMenu)), (QList<UINT>{kQuit, kOpen, kKeep}));

    // An edited store: positions out of range, twice, or not numbers at all.
    ASSERT_TRUE(app.App().WriteString(QStringLiteral("ContextMenu-311"), QStringLiteral("9,x,-1,3,3,,1")));
    restarted.LoadState(app.App());
    EXPECT_EQ(Ids(restarted.GetMenuItems(kMenu)), (QList<UINT>{kQuit, 0, kKeep}));
    ASSERT_TRUE(app.App().WriteString(QStringLiteral("ContextMenu-311"), QStringLiteral("nonsense")));
    restarted.LoadState(app.App());
    EXPECT_EQ(Ids(restarted.GetMenuItems(kMenu)), (QList<UINT>{kKeep}));

    restarted.ResetMenu(kMenu);
    EXPECT_EQ(Ids(restarted.GetMenuItems(kMenu)), Ids(kItems));
}

TEST(ContextMenuManagerTest, TheShownMenuAsksTheOwnersRouteAndSendsTheChosenCommandThere)
{
    TestApplication app;
    CContextMenuManager manager;
    manager.AddMenu(QStringLiteral("Tray"), kMenu, kItems);
    EXPECT_FALSE(manager.SetDefaultItem(kMenu, 99));
    EXPECT_TRUE(manager.SetDefaultItem(kMenu, kOpen));

    OwnerWindow owner;
    QMenu* pMenu = manager.ShowPopupMenu(kMenu, 500, 300, &owner, TRUE);
    ASSERT_NE(pMenu, nullptr);
    EXPECT_EQ(manager.ShowPopupMenu(999, 0, 0, &owner), nullptr);
    pMenu = manager.GetShownMenu();
    ASSERT_EQ(pMenu->actions().size(), 4);
    EXPECT_EQ(pMenu->defaultAction(), pMenu->actions().at(0));
    EXPECT_TRUE(pMenu->actions().at(0)->isEnabled());
    EXPECT_FALSE(pMenu->actions().at(3)->isEnabled()) << "a command nobody handles is offered";
    EXPECT_EQ(pMenu->geometry().right() + 1, 500) << "not right-aligned at the point";
    pMenu->actions().at(0)->trigger();
    pMenu->close();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(owner.m_nOpened, 1);
}

}
