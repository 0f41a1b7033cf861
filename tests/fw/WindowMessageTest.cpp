#include "fw/CWnd.h"
#include "fw/WindowMessages.h"

#include <QCoreApplication>
#include <QPointer>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

constexpr UINT WM_FIRST = WM_USER + 1;
constexpr UINT WM_SECOND = WM_USER + 2;
constexpr UINT WM_THIRD = WM_USER + 3;
constexpr UINT WM_UNMAPPED = WM_USER + 4;
constexpr UINT WM_ASK = WM_USER + 5;

// A window that writes down every message it meets, where it meets it.
class RecordingWnd : public CWnd
{
public:
    explicit RecordingWnd(QStringList& log, QWidget* pParent = nullptr)
        : CWnd(pParent)
        , m_log(log)
    {
    }

    QString m_strName = QStringLiteral("wnd");

protected:
    LRESULT OnFirst(WPARAM, LPARAM)
    {
        m_log << QStringLiteral("first begins");
        PostMessage(WM_SECOND, 2);
        PostMessage(WM_THIRD, 3);
        const LRESULT nAnswer = SendMessage(WM_ASK, 20, 22);
        m_log << QStringLiteral("asked %1").arg(nAnswer);
        m_log << QStringLiteral("first ends");
        return 0;
    }
    LRESULT OnSecond(WPARAM wParam, LPARAM)
    {
        m_log << QStringLiteral("second %1").arg(wParam);
        return 0;
    }
    LRESULT OnThird(WPARAM wParam, LPARAM)
    {
        m_log << QStringLiteral("third %1").arg(wParam);
        return 0;
    }
    LRESULT OnAsk(WPARAM wParam, LPARAM lParam)
    {
        m_log << QStringLiteral("ask");
        return static_cast<LRESULT>(wParam) + lParam;
    }
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_FIRST:
            return OnFirst(wParam, lParam);
        case WM_SECOND:
            return OnSecond(wParam, lParam);
        case WM_THIRD:
            return OnThird(wParam, lParam);
        case WM_ASK:
            return OnAsk(wParam, lParam);
        default:
            m_log << QStringLiteral("base default %1").arg(message - WM_USER);
            return CWnd::DefWindowProc(message, wParam, lParam);
        }
    }
    void OnDestroy() override { m_log << m_strName + QStringLiteral(" destroyed"); }

    QStringList& m_log;
};

// A subclass that sees every message in its DefWindowProc before its base
// class, handles one, and passes everything on, as the program's frames and
// views do.
class DerivedWnd : public RecordingWnd
{
public:
    using RecordingWnd::RecordingWnd;

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        m_log << QStringLiteral("derived sees %1").arg(message - WM_USER);
        if (message == WM_UNMAPPED)
            m_log << QStringLiteral("derived handles %1").arg(wParam);
        return RecordingWnd::DefWindowProc(message, wParam, lParam);
    }
};

class WindowMessageTest : public ::testing::Test
{
protected:
    QStringList m_log;
};

TEST_F(WindowMessageTest, PostedMessagesRunAfterTheCurrentHandlerInTheOrderPosted)
{
    RecordingWnd wnd(m_log);
    wnd.SendMessage(WM_FIRST);
    EXPECT_EQ(m_log, (QStringList{"first begins", "ask", "asked 42", "first ends"}));

    QCoreApplication::processEvents();
    EXPECT_EQ(m_log, (QStringList{"first begins", "ask", "asked 42", "first ends", "second 2", "third 3"}));
}

TEST_F(WindowMessageTest, PostedMessagesKeepTheirOrderAcrossWindows)
{
    RecordingWnd one(m_log);
    RecordingWnd two(m_log);
    one.PostMessage(WM_SECOND, 1);
    two.PostMessage(WM_THIRD, 2);
    one.PostMessage(WM_THIRD, 3);
    EXPECT_TRUE(m_log.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(m_log, (QStringList{"second 1", "third 2", "third 3"}));
}

TEST_F(WindowMessageTest, ASubclassDefWindowProcSeesEveryMessageBeforeItsBaseClass)
{
    DerivedWnd wnd(m_log);
    wnd.SendMessage(WM_UNMAPPED, 7);
    wnd.PostMessage(WM_UNMAPPED, 8);
    wnd.SendMessage(WM_SECOND, 9);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_log,
              (QStringList{"derived sees 4", "derived handles 7", "base default 4", "derived sees 2", "second 9",
                           "derived sees 4", "derived handles 8", "base default 4"}));
}

TEST_F(WindowMessageTest, CloseDestroysTheWindowAndItsChildrenOnce)
{
    auto* pParent = new RecordingWnd(m_log);
    pParent->m_strName = QStringLiteral("parent");
    auto* pChild = new RecordingWnd(m_log, pParent);
    pChild->m_strName = QStringLiteral("child");

    pParent->SendMessage(WM_CLOSE);
    EXPECT_EQ(m_log, (QStringList{"parent destroyed", "child destroyed"}));
    EXPECT_TRUE(pParent->IsDestroyed());
    EXPECT_TRUE(pChild->IsDestroyed());
    EXPECT_FALSE(pParent->DestroyWindow());
    EXPECT_EQ(m_log.size(), 2);

    EXPECT_TRUE(IsWindow(pChild));
    delete pParent;
    EXPECT_FALSE(IsWindow(pChild));
    EXPECT_FALSE(IsWindow(nullptr));
}

TEST_F(WindowMessageTest, MessagesPostedToAWindowThatGoesAreDropped)
{
    auto* pWnd = new RecordingWnd(m_log);
    pWnd->PostMessage(WM_SECOND, 1);
    delete pWnd;
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_log.isEmpty());
}

}
