#pragma once

#include <QFont>

// A handwriting face at nPointSize points: "Segoe Print" where it is
// installed, else the closest handwriting-style family this system has.
QFont HandwritingFont(int nPointSize);
