// Stands in for <xcb/xproto.h> in every layer above platform/, so that an include of
// it there stops the build: only platform/ may use this library.
#error "<xcb/xproto.h> belongs to platform/: reach this service through its interface there"
