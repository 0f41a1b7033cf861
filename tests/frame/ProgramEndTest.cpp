// How the program ends: the tray's Exit takes the application's one way,
// which gives the single-instance claim up at once and closes an open modal
// dialog before anything under it goes.
#include "MainFrameFixture.h"

#include "fw/WindowMessages.h"
#include "platform/instance/InstanceService.h"
#include "res/ProductInfo.h"
#include "res/Resource.h"

#include <QTest>
#include <QTimer>

namespace {

class CIgnoringReceiver : public IInstanceReceiver
{
public:
    std::intptr_t OnInstanceMessage(unsigned, std::uintptr_t, std::intptr_t) override { return 0; }
    void OnShowAndActivate(const QString&) override {}
};

class ProgramEndTest : public MainFrameFixture
{};

TEST_F(ProgramEndTest, ExitWithTheAboutBoxOpenClosesItFirstAndFreesTheInstanceAtOnce)
{
    Start();
    CMainFrame* pFrame = Frame();
    ASSERT_NE(pFrame, nullptr);

    bool bFrameOutlivedTheBox = false;
    bool bAboutReturned = false;
    InstanceClaim claimWhileEnding = InstanceClaim::NotFindable;
    CIgnoringReceiver receiver;
    auto pNextStart = CreateInstanceService(ProductInfo::ApplicationTitle());
    QTimer::singleShot(0, [&] {
        // Runs inside the about box's modal loop.
        QTimer::singleShot(0, [&] {
            pFrame->SendMessage(WM_COMMAND, ID_TRAY_EXIT);
            claimWhileEnding = pNextStart->Claim(&receiver);
        });
        m_pApp->OnAppAbout();
        bFrameOutlivedTheBox = IsWindow(pFrame) != FALSE;
        bAboutReturned = true;
    });

    ASSERT_TRUE(QTest::qWaitFor([&] { return bAboutReturned && !IsWindow(pFrame); }, 10000))
        << "the about box was not closed, or the program did not end";
    EXPECT_TRUE(bFrameOutlivedTheBox) << "the frame went while the box's loop still ran";
    EXPECT_EQ(claimWhileEnding, InstanceClaim::Listening) << "a start while the program ends found it still running";
    pNextStart->StopListening();
}

}
