#include <QApplication>
#include <clocale>
#include <gtest/gtest.h>

#include "TestEnvironment.h"

// Every test runs inside a QApplication, with its own empty profile and data
// folders, so that no test reads or writes the user's real settings.
int main(int argc, char** argv)
{
    TestEnvironment::IsolateUserFolders();
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
