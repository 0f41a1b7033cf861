#pragma once

#include "StationServer.h"

#include "app/CKestrelRadioApp.h"
#include "fw/MessageBox.h"

#include <QList>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

class CMainFrame;
class CWnd;

// The whole program in the test process, on the test display, against a
// station server of the test's own: a fresh profile for every test, no
// station list left over, every message box answered OK and kept.
class InProcessProgramTest : public ::testing::Test
{
protected:
    // Every test's server listens on the same free ports, which the
    // program's server addresses name.
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // A value of the profile's "Settings" before the program starts.
    static void PresetSetting(const QString& strName, int nValue);
    void StartServer(StationServerOptions options = {});
    // The program, shown, once the stored category's page is open.
    void StartProgram();
    // Ends it as the desktop's quit does, once its window is gone and what
    // it left to be deleted is deleted.
    void EndProgram();

    CMainFrame* Frame() const;
    CWnd* ActiveView() const;
    // A click on the ribbon's element for the command, as the user gives it.
    void ClickRibbon(unsigned nID);

    static QStringList s_ports;  // station, music, promotion
    std::unique_ptr<StationServer> m_pServer;
    std::unique_ptr<CKestrelRadioApp> m_pApp;
    QList<MessageBoxRequest> m_boxes;
    CMessageBoxAnswerer m_answerer{[this](const MessageBoxRequest& request) {
        m_boxes.append(request);
        return IDOK;
    }};
};
