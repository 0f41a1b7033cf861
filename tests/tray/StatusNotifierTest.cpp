// The program's icon where the notification area speaks StatusNotifierItem
// on the session bus: a watcher of the test's own on a private bus stands
// for the panel.
#include "RadioProgram.h"
#include "StationServer.h"
#include "StatusNotifierWatcher.h"
#include "StreamLog.h"
#include "res/ProductInfo.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int kTimeoutMs = 20000;

TEST(StatusNotifierTest, TheTipCarriesTheStatusAndTheHostsActivationRestoresTheWindow)
{
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.Start()) << "dbus-daemon did not start";
    StatusNotifierWatcher watcher(bus.Address());
    ASSERT_TRUE(watcher.Listen());
    StationServer server;
    ASSERT_TRUE(server.Start()) << qPrintable(server.Error());
    RadioProgram program(server);
    program.SetEnvironment(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.Address());
    ASSERT_TRUE(program.Start({QStringLiteral(":silent")}));

    ASSERT_TRUE(QTest::qWaitFor([&] { return !watcher.RegisteredStatusNotifierItems().isEmpty(); }, kTimeoutMs))
        << "no item registered" << qPrintable(program.ErrorOutput());
    const QString strItem = watcher.RegisteredStatusNotifierItems().first();
    const QString strName = ProductInfo::ApplicationTitle();
    // The name alone, then the name over the player's status once it plays.
    EXPECT_TRUE(QTest::qWaitFor([&] { return watcher.ToolTip(strItem).startsWith(strName); }, kTimeoutMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return CountStreamStarts(server, QStringLiteral("/streams/kestrel-mp3")) == 1; },
                                kTimeoutMs));
    QString strTip;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            strTip = watcher.ToolTip(strItem);
            return strTip.startsWith(strName + QLatin1Char('\n')) && strTip.size() > strName.size() + 1;
        },
        kTimeoutMs))
        << qPrintable(strTip);
    EXPECT_LE(strTip.size(), 127);

    EXPECT_FALSE(program.HasVisibleWindow());
    ASSERT_TRUE(watcher.Activate(strItem));
    EXPECT_FALSE(program.MainWindow(10000).isEmpty()) << "the host's activation did not show the window";
}

}
