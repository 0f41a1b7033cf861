#pragma once

#include <QLoggingCategory>

// What the settings tell whoever runs the program from a terminal: a value
// that could not be saved. The user sees nothing of it; the program goes on
// with the value in hand.
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
