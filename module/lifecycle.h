// What loading and unloading the library do.
#pragma once

#include <windows.h>

namespace quarn {

// Every loader notification: the first one creates the work folder when it
// is missing (leftovers in it are kept); process detach empties and removes
// it and empties the listing cache. Records `module` for the settings reader.
void HandleLoaderNotification(HINSTANCE module, DWORD reason);

// Process detach: removes everything below the work folder and the folder
// itself, unless another thread or process is running the tool in it right
// now (that run's files are left for a later unload); empties the cache.
void CleanUpAtUnload();

// Removes every file and folder below `folder`, depth first, as far as it
// can, leaving `folder` itself. Folders with the read-only or system
// attribute are kept with everything in them; links are removed, never
// followed; read-only files are removed. Never asks the shell or shows UI:
// this runs under the loader lock.
void RemoveTree(const wchar_t* folder);

}  // namespace quarn
