#pragma once

#include <QLoggingCategory>

// What the media engine tells whoever runs the program from a terminal:
// why playback is off, and what libmpv refused. Debug messages are off
// unless QT_LOGGING_RULES="kestrel.media.debug=true" asks for them.
Q_DECLARE_LOGGING_CATEGORY(lcMedia)
