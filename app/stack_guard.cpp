// The stack protector's guard word and its failure handler, for MinGW-w64 builds, which every
// program built with the stack protector links together with one of the entry points below.
// GCC's own runtime for them, libssp, would seed the guard from ADVAPI32's random number service in
// a constructor that runs before WinMain, and so load cryptographic DLLs by name before the program
// has restricted the DLL search to the system folder. The guard here loads nothing: it is seeded
// from what the process and the processor have at hand, the way MSVC's runtime seeds its /GS cookie.
//
// This file is built without the stack protector (CMakeLists.txt), whatever the compiler: the
// seeding changes the guard that a check of its own would compare against, and the entry points
// run before there is a guard worth checking.
#include <windows.h>

#include <cpuid.h>
#include <x86intrin.h>

#include <cstdint>

extern "C" {

// Read by every protected function on entry and compared on return. Any fixed value will do until
// the entry point below replaces it. Its lowest byte is zero, as every seeded guard's is: a string
// copy that runs over a buffer toward the guard must write that zero to go on, and a copy that
// writes its terminating zero there stops, so neither can rebuild the whole guard.
uintptr_t __stack_chk_guard = 0x5472617a6f734700u;

// The linker's symbol at the start of the program's image, wherever the loader put it.
extern IMAGE_DOS_HEADER __ImageBase;

}  // extern "C"

namespace {

// What the failure handler hands to Windows' error reporting. Not on the stack, which is no longer
// trusted when they are filled in; the context is aligned to 16 bytes, as saving it requires.
alignas(16) CONTEXT overrunContext;
EXCEPTION_RECORD overrunRecord;
EXCEPTION_POINTERS overrunPointers = {&overrunRecord, &overrunContext};

}  // namespace

extern "C" {

// A protected function found its guard overwritten: the stack is no longer trusted, so the process
// ends at once without unwinding, running no handler and no more of the program's code, with
// STATUS_STACK_BUFFER_OVERRUN as its exit code.
// - Windows 8 and later end it by the fail-fast interrupt, which reaches no exception handler and
//   which Windows records as an Application Error of its own accord.
// - Older Windows have no such interrupt, and a process that TerminateProcess ends leaves no trace
//   in the event log. There the failure goes to Windows' unhandled exception filter as MSVC's
//   runtime hands over a failed /GS check: described, not raised, as a noncontinuable
//   STATUS_STACK_BUFFER_OVERRUN where the protected function called this handler, so that the
//   Application Error names the module and offset of the function that found its guard changed.
//   Any filter that a DLL set is taken down first: its code must not run on this stack. Then
//   TerminateProcess ends the process, whatever the filter answered.
// It calls KERNEL32 alone and asks for no DLL itself; nor does it call any function of the
// program's own, since any of them could be protected and find the same guard changed.
__attribute__((noreturn)) void __stack_chk_fail()
{
    if (IsProcessorFeaturePresent(PF_FASTFAIL_AVAILABLE)) {
        __asm__ volatile("int $0x29" : : "c"(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE) : "memory");
    }
    // Captured here and unwound one frame: into the protected function, just past its call to this
    // handler, with the stack and registers it had there.
    RtlCaptureContext(&overrunContext);
    DWORD64 imageBase = 0;
    if (PRUNTIME_FUNCTION here = RtlLookupFunctionEntry(overrunContext.Rip, &imageBase, nullptr)) {
        PVOID handlerData = nullptr;
        DWORD64 establisherFrame = 0;
        RtlVirtualUnwind(UNW_FLAG_NHANDLER, imageBase, overrunContext.Rip, here, &overrunContext, &handlerData,
                         &establisherFrame, nullptr);
    } else {
        overrunContext.Rip = reinterpret_cast<DWORD64>(__builtin_return_address(0));
    }
    overrunRecord.ExceptionCode = STATUS_STACK_BUFFER_OVERRUN;
    overrunRecord.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
    overrunRecord.ExceptionAddress = reinterpret_cast<PVOID>(overrunContext.Rip);
    overrunRecord.NumberParameters = 1;
    overrunRecord.ExceptionInformation[0] = FAST_FAIL_STACK_COOKIE_CHECK_FAILURE;
    SetUnhandledExceptionFilter(nullptr);
    UnhandledExceptionFilter(&overrunPointers);
    TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    // Should it return all the same (a hook that refuses it), the process must not run on into
    // whatever code the linker put next, such as an entry point below, which would start it over.
    __builtin_trap();
}

// The C runtime's entry points, in crt2.o: they run the constructors, then WinMain or main.
int WinMainCRTStartup();
int mainCRTStartup();

}  // extern "C"

namespace {

// The last step of the SplitMix64 generator: every bit of the value moves about half the bits of
// the result. Mixing each source in with it keeps sources that move together, such as the process
// and thread ids or three readings of one clock, from cancelling out as a plain XOR of them does.
uint64_t MixIn(uint64_t state, uint64_t value)
{
    uint64_t z = state ^ value;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
}

// The processor's own random numbers, where it has them; RDRAND may come back empty-handed for a
// moment under load, and is asked again a few times before it is left out.
uint64_t ProcessorRandomNumber()
{
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx) || !(ecx & bit_RDRND)) {
        return 0;
    }
    for (int attempt = 0; attempt < 10; ++attempt) {
        unsigned long long value = 0;
        unsigned char ready = 0;
        __asm__ volatile("rdrand %0; setc %1" : "=r"(value), "=qm"(ready) : : "cc");
        if (ready) {
            return value;
        }
    }
    return 0;
}

void SeedStackGuard()
{
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    LARGE_INTEGER counter = {};
    QueryPerformanceCounter(&counter);
    uint64_t seed = 0x7472617a6f732e31u;
    seed = MixIn(seed, (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
    seed = MixIn(seed, static_cast<uint64_t>(counter.QuadPart));
    seed = MixIn(seed, GetTickCount64());
    seed = MixIn(seed, __rdtsc());
    seed = MixIn(seed, (static_cast<uint64_t>(GetCurrentProcessId()) << 32) | GetCurrentThreadId());
    // Where the program and the stack lie differs from start to start under ASLR.
    seed = MixIn(seed, reinterpret_cast<uintptr_t>(&__ImageBase));
    seed = MixIn(seed, reinterpret_cast<uintptr_t>(&seed));
    seed = MixIn(seed, ProcessorRandomNumber());
    uintptr_t guard = static_cast<uintptr_t>(seed) & ~static_cast<uintptr_t>(0xff);
    if (guard == 0 || guard == __stack_chk_guard) {
        guard = ~__stack_chk_guard & ~static_cast<uintptr_t>(0xff);
    }
    __stack_chk_guard = guard;
}

}  // namespace

// The programs' entry points, which the linker is told to start at (--entry): the guard is seeded
// before the C runtime runs any constructor or WinMain, while no protected function is under way to
// find the guard changed on its return. The GUI program starts at the first, console ones at the
// second.
extern "C" int StartWindowsProgramWithAFreshStackGuard()
{
    SeedStackGuard();
    return WinMainCRTStartup();
}

extern "C" int StartConsoleProgramWithAFreshStackGuard()
{
    SeedStackGuard();
    return mainCRTStartup();
}
