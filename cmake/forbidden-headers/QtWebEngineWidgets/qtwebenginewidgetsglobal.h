// Stands in for <QtWebEngineWidgets/qtwebenginewidgetsglobal.h> in every layer above platform/, so that an include of
// it there stops the build: only platform/ may use this library.
#error                                                                                                                 \
    "<QtWebEngineWidgets/qtwebenginewidgetsglobal.h> belongs to platform/: reach this service through its interface there"
