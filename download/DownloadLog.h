#pragma once

#include <QLoggingCategory>

// What the station list download tells whoever runs the program from a
// terminal: failed transfers and server addresses that were set wrongly.
// Debug messages are off unless QT_LOGGING_RULES="kestrel.download.debug=true"
// asks for them.
Q_DECLARE_LOGGING_CATEGORY(lcDownload)
