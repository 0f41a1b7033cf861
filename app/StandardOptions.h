#pragma once

#include <QString>
#include <QStringList>

// The options every Linux program answers before it starts: --help and
// --version print and end the process at once, without a display, a window
// or a profile; an option the program does not know ends it with a clear
// message. The program's own arguments (":silent", a number, even a
// negative one) and Qt's own options pass untouched.
namespace StandardOptions {

enum class Outcome {
    Start,  // nothing to answer: start the program
    PrintAndExit,  // print strText on standard output and end with 0
    RefuseAndExit,  // print strText on standard error and end with 2
};

struct Answer {
    Outcome eOutcome = Outcome::Start;
    QString strText;
};

// arguments: the command line, the program's name first.
Answer Read(const QStringList& arguments);

}
