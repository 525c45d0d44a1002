// The entry point of tessel.dll: when a host unloads the DLL (FreeLibrary,
// not the end of the process) it hands back what the statically linked
// runtime keeps for the module, so that a host which loads and unloads the
// DLL per call does not lose memory or handles each time.
#include <windows.h>

namespace __gnu_cxx {
// libstdc++'s release of its own reserves (the exception emergency pool).
void __freeres() noexcept;
}  // namespace __gnu_cxx

namespace {

#if !defined(__SEH__) && !defined(__USING_SJLJ_EXCEPTIONS__)
// Builds whose exceptions unwind through DWARF tables (32-bit mingw-w64):
// the module's start-up code registers its tables with the statically linked
// unwinder, whose lock makes a semaphore on that first registration and never
// closes it, and whose state lives in no symbol outside libgcc. The import
// slot of CreateSemaphoreW is pointed at a recorder before the start-up code
// runs, for exactly one call: the registration's, the first semaphore the
// module makes.
using create_semaphore_fn = decltype(&CreateSemaphoreW);
extern "C" create_semaphore_fn semaphore_import __asm__("__imp__CreateSemaphoreW@16");

create_semaphore_fn real_create_semaphore = nullptr;
HANDLE unwinder_semaphore = nullptr;

bool set_semaphore_import(create_semaphore_fn function)
{
    DWORD old_protection = 0;
    if (!VirtualProtect(&semaphore_import, sizeof semaphore_import, PAGE_READWRITE,
                        &old_protection))
        return false;
    semaphore_import = function;
    VirtualProtect(&semaphore_import, sizeof semaphore_import, old_protection, &old_protection);
    return true;
}

HANDLE WINAPI record_semaphore(LPSECURITY_ATTRIBUTES attributes, LONG initial, LONG maximum,
                               LPCWSTR name)
{
    set_semaphore_import(real_create_semaphore);
    unwinder_semaphore = real_create_semaphore(attributes, initial, maximum, name);
    return unwinder_semaphore;
}

// A TLS callback: the loader calls it before the entry point, and so before
// the start-up code.
void NTAPI watch_unwinder_registration(PVOID, DWORD reason, PVOID)
{
    if (reason == DLL_PROCESS_ATTACH && real_create_semaphore == nullptr) {
        real_create_semaphore = semaphore_import;
        set_semaphore_import(record_semaphore);
    }
}

// The start-up code has run when DllMain is called: a later semaphore is not
// the registration's, even when the registration made none.
void end_registration_watch()
{
    if (semaphore_import == record_semaphore)
        set_semaphore_import(real_create_semaphore);
}

// The unwinder still takes its lock once after DllMain, to let go of the
// tables; no thread runs the module's code while it is unloaded, so the lock
// is free, and a free lock is taken and given back on its counter alone,
// never touching the semaphore.
void close_unwinder_semaphore()
{
    if (unwinder_semaphore != nullptr)
        CloseHandle(unwinder_semaphore);
}
#else
void end_registration_watch() {}
void close_unwinder_semaphore() {}
#endif

}  // namespace

#if !defined(__SEH__) && !defined(__USING_SJLJ_EXCEPTIONS__)
// .CRT$XLB sorts before the C runtime's own TLS callback (.CRT$XLC).
extern "C" __attribute__((section(".CRT$XLB"), used))
const PIMAGE_TLS_CALLBACK tessel_watch_unwinder = watch_unwinder_registration;
#endif

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
        end_registration_watch();
    // A null reserved at detach means FreeLibrary; at the end of the process
    // the system takes everything back itself, and other threads may have
    // stopped anywhere.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        __gnu_cxx::__freeres();
        close_unwinder_semaphore();
    }
    return TRUE;
}
