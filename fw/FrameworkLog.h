#pragma once

#include <QLoggingCategory>

// What the framework tells whoever runs the program from a terminal: state
// it could not keep (a layout that could not be saved). The user goes on
// with what is on the screen.
Q_DECLARE_LOGGING_CATEGORY(lcFramework)
