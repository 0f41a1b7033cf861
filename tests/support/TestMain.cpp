#include <QApplication>
#include <clocale>
#include <gtest/gtest.h>

#include "TestEnvironment.h"
#include "platform/graphics/SoftwareGraphics.h"

// Every test runs inside a QApplication, with its own empty profile and data
// folders, so that no test reads or writes the user's real settings, and
// draws as the program does.
int main(int argc, char** argv)
{
    TestEnvironment::IsolateUserFolders();
    PrepareSoftwareGraphics();
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
