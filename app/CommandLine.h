#pragma once

#include "fw/Types.h"
#include "res/CommandLineSwitches.h"

#include <QStringList>

// How the program reads its command line at start-up.
namespace CommandLine {

// The command line as one text: the arguments after the program's name,
// separated by single blanks.
CString FromArguments(const QStringList& arguments);

// What is left of strRaw once every occurrence of the program's own full
// path (exact, case-sensitive), then every double quote, then the leading
// and trailing white space are removed.
CString Clean(const CString& strRaw, const CString& strModulePath);

// Whether strRaw holds ":silent" anywhere (case-sensitive).
bool HasSilentSwitch(const CString& strRaw);

// The number at the start of strText, as the C library's wide string to int
// conversion reads it: leading white space, an optional sign, decimal
// digits; 0 when there are none. A value beyond int saturates at its limit.
int ToNumber(const CString& strText);

}
