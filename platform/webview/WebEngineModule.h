#pragma once

class IWebEngineBackend;

// The web engine module, loaded the first time a page needs it and kept
// until the program ends.
namespace WebEngineModule {
// Whether the module and the engine's helper program are installed, found
// without loading either.
bool IsInstalled();
// The engine, loaded on the first call; null when it cannot be loaded.
IWebEngineBackend* Backend();
// Whether the module has been loaded in this process.
bool IsLoaded();
}
