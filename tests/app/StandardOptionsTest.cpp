#include "app/StandardOptions.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using StandardOptions::Outcome;

Outcome OutcomeOf(const QStringList& arguments)
{
    return StandardOptions::Read(QStringList{"/usr/bin/kestrel-radio"} + arguments).eOutcome;
}

TEST(StandardOptionsTest, ProgramArgumentsAndQtOptionsStartTheProgram)
{
    EXPECT_EQ(OutcomeOf({}), Outcome::Start);
    EXPECT_EQ(OutcomeOf({":silent"}), Outcome::Start);
    EXPECT_EQ(OutcomeOf({"5"}), Outcome::Start);
    EXPECT_EQ(OutcomeOf({"-3"}), Outcome::Start);
    EXPECT_EQ(OutcomeOf({"abc"}), Outcome::Start);
    EXPECT_EQ(OutcomeOf({"-platform", "offscreen", ":silent"}), Outcome::Start);
    // A Qt option's value is not read as an option of ours.
    EXPECT_EQ(OutcomeOf({"-style", "-fusion"}), Outcome::Start);
    EXPECT_EQ(OutcomeOf({"-"}), Outcome::Start);
}

TEST(StandardOptionsTest, HelpAndVersionPrintWhereverTheyStand)
{
    const StandardOptions::Answer help = StandardOptions::Read({"/opt/kr/bin/kestrel-radio", ":silent", "--help"});
    EXPECT_EQ(help.eOutcome, Outcome::PrintAndExit);
    EXPECT_TRUE(help.strText.startsWith("Usage: kestrel-radio ")) << help.strText.toStdString();
    EXPECT_TRUE(help.strText.contains(":silent"));
    EXPECT_EQ(OutcomeOf({"-h"}), Outcome::PrintAndExit);

    const StandardOptions::Answer version = StandardOptions::Read({"kestrel-radio", "--version"});
    EXPECT_EQ(version.eOutcome, Outcome::PrintAndExit);
    EXPECT_TRUE(version.strText.startsWith("Kestrel Radio ")) << version.strText.toStdString();
}

TEST(StandardOptionsTest, AnUnknownOptionIsNamedInTheRefusal)
{
    const StandardOptions::Answer answer = StandardOptions::Read({"kestrel-radio", "--silent"});
    EXPECT_EQ(answer.eOutcome, Outcome::RefuseAndExit);
    EXPECT_TRUE(answer.strText.contains("unknown option '--silent'")) << answer.strText.toStdString();
    EXPECT_TRUE(answer.strText.contains("--help"));
    EXPECT_EQ(OutcomeOf({"-x"}), Outcome::RefuseAndExit);
}

// The real program, with no display at all and a fresh home: it answers and
// ends before it would need either.
struct ProgramRun {
    int nExitCode = -1;
    QString strOut;
    QString strErr;
};

ProgramRun RunProgram(const QTemporaryDir& home, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert("HOME", home.path());
    environment.insert("XDG_CONFIG_HOME", home.path() + "/config");
    environment.insert("XDG_DATA_HOME", home.path() + "/data");
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KESTREL_PROGRAM), arguments);
    EXPECT_TRUE(process.waitForFinished(20000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

TEST(StandardOptionsTest, TheProgramAnswersWithoutADisplayOrAProfile)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());

    const ProgramRun help = RunProgram(home, {"--help"});
    EXPECT_EQ(help.nExitCode, 0);
    EXPECT_TRUE(help.strOut.startsWith("Usage: kestrel-radio")) << help.strOut.toStdString();

    const ProgramRun version = RunProgram(home, {"--version"});
    EXPECT_EQ(version.nExitCode, 0);
    EXPECT_TRUE(version.strOut.startsWith("Kestrel Radio ")) << version.strOut.toStdString();

    const ProgramRun unknown = RunProgram(home, {"--frobnicate"});
    EXPECT_EQ(unknown.nExitCode, 2);
    EXPECT_TRUE(unknown.strOut.isEmpty());
    EXPECT_TRUE(unknown.strErr.contains("unknown option '--frobnicate'")) << unknown.strErr.toStdString();

    // Nothing was written: no profile, no data folder.
    EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

}
