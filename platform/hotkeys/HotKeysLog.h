#pragma once

#include <QLoggingCategory>

// What the global hot keys tell whoever runs the program from a terminal:
// a combination the display refused, a desktop without a shortcuts portal,
// a portal that refused the program's session.
Q_DECLARE_LOGGING_CATEGORY(lcHotKeys)
