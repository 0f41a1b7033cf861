#pragma once

#include "app/CKestrelRadioApp.h"
#include "frame/CMainFrame.h"
#include "fw/MessageBox.h"

#include <QList>
#include <QObject>
#include <gtest/gtest.h>
#include <memory>

// Counts the window messages posted to the main frame, as they are handled.
class PostedMessageRecorder : public QObject
{
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    QList<Message> m_messages;

    QList<Message> Of(UINT message) const;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
};

// The whole program in this process, started hidden, on a fresh profile.
class MainFrameFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Starts the program with the given arguments after the program name.
    void Start(const QStringList& arguments = {QStringLiteral(":silent")});
    // Lets the message loop run until nothing is left to do.
    static void Pump();

    CMainFrame* Frame() const;
    // The view of the one open page, or null.
    CWnd* OpenView() const;
    void ActivateCategory(int nIndex);
    int StoredLastCategory() const;

    std::unique_ptr<CKestrelRadioApp> m_pApp;
    // The radio page's station list comes from no server here; its failure
    // message is answered.
    CMessageBoxAnswerer m_refreshFailures{[](const MessageBoxRequest&) { return IDOK; }};
};
