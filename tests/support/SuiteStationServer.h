#pragma once

#include "StationServer.h"

#include <gtest/gtest.h>

// One station server for a whole suite of tests, started before its first
// test and stopped after its last; tests that need a server of their own
// start one.
class SuiteStationServerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

    static StationServer* s_pServer;
};
