#include "SuiteStationServer.h"

StationServer* SuiteStationServerTest::s_pServer = nullptr;

void SuiteStationServerTest::SetUpTestSuite()
{
    s_pServer = new StationServer();
    ASSERT_TRUE(s_pServer->Start()) << qPrintable(s_pServer->Error());
}

void SuiteStationServerTest::TearDownTestSuite()
{
    delete s_pServer;
    s_pServer = nullptr;
}
