#pragma once

#include <QString>

namespace TestEnvironment {
// Points XDG_CONFIG_HOME, XDG_DATA_HOME and TMPDIR at a fresh folder of this
// test process, removed when the process ends.
void IsolateUserFolders();
// The root of the folders above.
QString Root();
// The folder of the source tree's tests, for test data.
QString SourceDir();
}
