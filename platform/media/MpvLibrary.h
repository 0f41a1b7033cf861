#pragma once

struct MpvFunctions;

// The media module, loaded once per process and kept until it ends.
namespace MpvLibrary {
// Starts loading the module on a thread of its own, if it is not loaded or
// loading already.
void Preload();
// libmpv's functions, waiting for the module if it is still loading; null
// when it cannot be loaded (said once in the log).
const MpvFunctions* Functions();
}
