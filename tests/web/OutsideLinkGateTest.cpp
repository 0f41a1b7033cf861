// What a page hands out leaves the program only after the reader's input,
// once per input and at most once a second; the clock is the test's.
#include "platform/webview/OutsideLinkGate.h"

#include <gtest/gtest.h>

namespace {

class OutsideLinkGateTest : public ::testing::Test
{
protected:
    qint64 m_nNowMs = 100000;
    COutsideLinkGate m_gate{[this] { return m_nNowMs; }};
};

TEST_F(OutsideLinkGateTest, NothingLeavesWithoutTheReadersInput)
{
    for (int i = 0; i < 100; ++i) {
        EXPECT_FALSE(m_gate.MayLeave());
        m_nNowMs += 700;
    }
}

TEST_F(OutsideLinkGateTest, AClickLetsOneAddressOutShortlyAfter)
{
    m_gate.NoteUserInput();
    m_nNowMs += COutsideLinkGate::kUserInputWindowMs;
    EXPECT_TRUE(m_gate.MayLeave());
    // A script that clicks on in the reader's wake gets nothing more.
    EXPECT_FALSE(m_gate.MayLeave());
    m_nNowMs += 5000;
    EXPECT_FALSE(m_gate.MayLeave());

    // An input long past lets nothing out.
    m_gate.NoteUserInput();
    m_nNowMs += COutsideLinkGate::kUserInputWindowMs + 1;
    EXPECT_FALSE(m_gate.MayLeave());
}

TEST_F(OutsideLinkGateTest, AtMostOneAddressLeavesASecond)
{
    m_gate.NoteUserInput();
    EXPECT_TRUE(m_gate.MayLeave());
    m_nNowMs += COutsideLinkGate::kLeaveIntervalMs - 1;
    m_gate.NoteUserInput();
    EXPECT_FALSE(m_gate.MayLeave()) << "too soon after the last";
    m_nNowMs += 1;
    m_gate.NoteUserInput();
    EXPECT_TRUE(m_gate.MayLeave());
}

}
