// The loader entry point of the Windows build. The library keeps no
// per-thread state, so it asks the loader not to call it for every thread
// that starts or ends; it has nothing else to set up or tear down.
#ifdef _WIN32

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

#endif
