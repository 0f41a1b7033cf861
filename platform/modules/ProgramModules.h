#pragma once

#include <QString>

// The program's own loadable modules: the parts that link a large library
// the program should not pay for before it needs it.
namespace ProgramModules {
// The module of an installed program first, beside its executable's folder,
// then the one of the build tree the program was built in (tests and
// benchmarks run from there); empty when neither exists.
QString Path(const QString& strFileName, const QString& strBuildPath);
}
