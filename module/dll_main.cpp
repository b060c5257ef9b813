// The plug-in's entry point. The runtime builds the listing cache before the
// first notification and tears it down after the last.
#include <windows.h>

#include "module/lifecycle.h"

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    quarn::HandleLoaderNotification(module, reason);
    return TRUE;
}
