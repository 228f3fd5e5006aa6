// The stack protector's guard word and its failure handler, for MinGW-w64 builds, which every
// program built with -fstack-protector-strong links together with one of the entry points below.
// GCC's own runtime for them, libssp, would seed the guard from ADVAPI32's random number service in
// a constructor that runs before WinMain, and so load cryptographic DLLs by name before the program
// has restricted the DLL search to the system folder. The guard here loads nothing: it is seeded
// from what the process has at hand, the way MSVC's runtime seeds its /GS cookie.
#include <windows.h>

#include <cstdint>

extern "C" {

// Read by every protected function on entry and compared on return. Any fixed value will do until
// the entry point below replaces it; it is never zero, which a stray zeroing would reproduce.
uintptr_t __stack_chk_guard = 0x5472617a6f734721u;

// A protected function found its guard overwritten: the stack is no longer trusted, so the process
// ends at once without unwinding, running no handler and no more of the program's code, with
// STATUS_STACK_BUFFER_OVERRUN as its exit code. Windows 8 and later end it by the fail-fast
// interrupt, which reaches no exception handler at all; older ones by TerminateProcess.
__attribute__((noreturn, no_stack_protector)) void __stack_chk_fail()
{
    if (IsProcessorFeaturePresent(PF_FASTFAIL_AVAILABLE)) {
        __asm__ volatile("int $0x29" : : "c"(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE) : "memory");
    }
    TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    __builtin_unreachable();
}

// The C runtime's entry points, in crt2.o: they run the constructors, then WinMain or main.
int WinMainCRTStartup();
int mainCRTStartup();

}  // extern "C"

// Not protected itself: it changes the guard that its own check would compare against.
__attribute__((no_stack_protector)) static void SeedStackGuard()
{
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    LARGE_INTEGER counter = {};
    QueryPerformanceCounter(&counter);
    uintptr_t guard = (static_cast<uintptr_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    guard ^= GetCurrentProcessId();
    guard ^= GetCurrentThreadId();
    const uintptr_t ticks = GetTickCount64();
    guard ^= ticks ^ (ticks << 56);
    guard ^= (static_cast<uintptr_t>(counter.LowPart) << 32) ^ static_cast<uintptr_t>(counter.QuadPart);
    // Where the stack lies differs from start to start under ASLR.
    guard ^= reinterpret_cast<uintptr_t>(&guard);
    if (guard == 0 || guard == __stack_chk_guard) {
        guard = ~__stack_chk_guard;
    }
    __stack_chk_guard = guard;
}

// The programs' entry points, which the linker is told to start at (--entry): the guard is seeded
// before the C runtime runs any constructor or WinMain, while no protected function is under way to
// find the guard changed on its return. The GUI program starts at the first, console ones at the
// second.
extern "C" __attribute__((no_stack_protector)) int StartWindowsProgramWithAFreshStackGuard()
{
    SeedStackGuard();
    return WinMainCRTStartup();
}

extern "C" __attribute__((no_stack_protector)) int StartConsoleProgramWithAFreshStackGuard()
{
    SeedStackGuard();
    return mainCRTStartup();
}
