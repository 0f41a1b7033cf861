#include "app/CommandLine.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

const QString kModule = QStringLiteral("/opt/Kestrel Radio/bin/kestrel-radio");

TEST(CommandLineTest, JoinsTheArgumentsAfterTheProgramName)
{
    EXPECT_EQ(CommandLine::FromArguments({kModule}), QString());
    EXPECT_EQ(CommandLine::FromArguments({kModule, "5", ":silent"}), QStringLiteral("5 :silent"));
}

TEST(CommandLineTest, CleaningRemovesTheOwnPathQuotesAndOuterBlanks)
{
    EXPECT_EQ(CommandLine::Clean("\"" + kModule + "\"", kModule), QString());
    EXPECT_EQ(CommandLine::Clean("  " + kModule + "  " + kModule + " ", kModule), QString());
    EXPECT_EQ(CommandLine::Clean(" \" 12 \" ", kModule), QStringLiteral("12"));
    // The path is matched exactly, case and all.
    EXPECT_EQ(CommandLine::Clean(kModule.toUpper(), kModule), kModule.toUpper());
    // The path is removed before the quotes, so a path broken by quotes stays.
    EXPECT_EQ(CommandLine::Clean("/opt/\"Kestrel Radio\"/bin/kestrel-radio", kModule), kModule);
    EXPECT_EQ(CommandLine::Clean("a  b", kModule), QStringLiteral("a  b"));
}

TEST(CommandLineTest, SilentSwitchIsFoundAnywhereAndOnlyInLowerCase)
{
    EXPECT_TRUE(CommandLine::HasSilentSwitch(":silent"));
    EXPECT_TRUE(CommandLine::HasSilentSwitch("5 x:silenty"));
    EXPECT_TRUE(CommandLine::HasSilentSwitch("\"" + kModule + "\" :silent"));
    EXPECT_FALSE(CommandLine::HasSilentSwitch(":Silent"));
    EXPECT_FALSE(CommandLine::HasSilentSwitch("silent"));
    EXPECT_FALSE(CommandLine::HasSilentSwitch(""));
}

TEST(CommandLineTest, NumbersAreReadLikeTheCLibraryDoes)
{
    EXPECT_EQ(CommandLine::ToNumber("5"), 5);
    EXPECT_EQ(CommandLine::ToNumber("-3"), -3);
    EXPECT_EQ(CommandLine::ToNumber("+17"), 17);
    EXPECT_EQ(CommandLine::ToNumber(" \t 42abc"), 42);
    EXPECT_EQ(CommandLine::ToNumber("007"), 7);
    EXPECT_EQ(CommandLine::ToNumber("abc"), 0);
    EXPECT_EQ(CommandLine::ToNumber("- 3"), 0);
    EXPECT_EQ(CommandLine::ToNumber("--3"), 0);
    EXPECT_EQ(CommandLine::ToNumber(""), 0);
    EXPECT_EQ(CommandLine::ToNumber("1 2"), 1);
}

TEST(CommandLineTest, NumbersBeyondIntSaturate)
{
    EXPECT_EQ(CommandLine::ToNumber("2147483647"), INT_MAX);
    EXPECT_EQ(CommandLine::ToNumber("2147483648"), INT_MAX);
    EXPECT_EQ(CommandLine::ToNumber("-2147483648"), INT_MIN);
    EXPECT_EQ(CommandLine::ToNumber("-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(CommandLine::ToNumber("99999999999999999999999"), INT_MAX);
}

}
