#include "platform/signals/TerminationSignalWatcher.h"

#include <QSignalSpy>
#include <csignal>
#include <gtest/gtest.h>

namespace {

TEST(TerminationSignalWatcherTest, SignalsArriveOnTheEventLoopInOrder)
{
    CTerminationSignalWatcher watcher;
    ASSERT_TRUE(watcher.IsAvailable());
    QSignalSpy spy(&watcher, &CTerminationSignalWatcher::TerminationRequested);

    ASSERT_EQ(raise(SIGTERM), 0);
    ASSERT_EQ(raise(SIGINT), 0);
    // Nothing is delivered from inside the handler.
    EXPECT_EQ(spy.count(), 0);
    ASSERT_TRUE(spy.wait(2000));
    while (spy.count() < 2 && spy.wait(500)) {}
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toInt(), SIGTERM);
    EXPECT_EQ(spy.at(1).at(0).toInt(), SIGINT);
}

TEST(TerminationSignalWatcherTest, OnlyOneWatcherAtATimeAndTheDefaultComesBackAfterIt)
{
    {
        CTerminationSignalWatcher first;
        CTerminationSignalWatcher second;
        EXPECT_TRUE(first.IsAvailable());
        EXPECT_FALSE(second.IsAvailable());
    }
    struct sigaction current = {};
    ASSERT_EQ(sigaction(SIGTERM, nullptr, &current), 0);
    EXPECT_EQ(current.sa_handler, SIG_DFL);

    CTerminationSignalWatcher again;
    EXPECT_TRUE(again.IsAvailable());
}

}
