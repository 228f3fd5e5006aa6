// The stack protector's guard of MinGW-w64 builds (app/stack_guard.cpp), which this test program
// links and starts with as the editor does: the test starts itself again, as a child that plays one
// part of it, and reads what the child did from its exit code.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

extern "C" uintptr_t __stack_chk_guard;

namespace {

// The child's part: "guard", which reports the child's guard as its exit code, or "changed".
const char ChildPart[] = "TRAZOS_STACK_GUARD_CHILD";

// The guard without its lowest byte, which is always zero: what a child's exit code can carry.
DWORD GuardAsExitCode(uintptr_t guard)
{
    return static_cast<DWORD>(guard >> 8);
}

// Protected, for its array. The guard changes while it runs, as the copy of it on the stack changes
// when a write runs over the array, wherever the compiler put that copy; the check on return then
// finds the two different.
__attribute__((noinline)) void ChangeTheGuardWithinAProtectedFunction()
{
    char buffer[16];
    volatile char* through = buffer;
    through[0] = 'x';
    *static_cast<volatile uintptr_t*>(&__stack_chk_guard) ^= 0x100;
}

DWORD RunThisTestAsAChild(const std::string& part)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --gtest_filter=StackGuard.*";
    SetEnvironmentVariableA(ChildPart, part.c_str());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;  // and no handles: the child's report is its exit code alone
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessW(self, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                        &process);
    SetEnvironmentVariableA(ChildPart, nullptr);
    if (!started) {
        return 0xFFFFFFFF;
    }
    // The wait only keeps a hung child from hanging the test run.
    WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = 0xFFFFFFFF;
    GetExitCodeProcess(process.hProcess, &exitCode);
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

TEST(StackGuard, DiffersInEveryStartEndsInAZeroByteAndAChangedGuardEndsTheProcessAtOnce)
{
    const std::string part = std::getenv(ChildPart) ? std::getenv(ChildPart) : "";
    if (part == "changed") {
        // Anything that still ran on the way out, as exit() would run this, changes the exit code.
        std::atexit([] { std::_Exit(1); });
        ChangeTheGuardWithinAProtectedFunction();
        return;
    }
    if (part == "guard") {
        ExitProcess(GuardAsExitCode(__stack_chk_guard));
    }

    EXPECT_EQ(__stack_chk_guard & 0xff, 0u);
    std::set<DWORD> guards = {GuardAsExitCode(__stack_chk_guard)};
    for (int child = 0; child < 3; ++child) {
        guards.insert(RunThisTestAsAChild("guard"));
    }
    EXPECT_EQ(guards.size(), 4u) << "four starts, four guards";
    EXPECT_EQ(RunThisTestAsAChild("changed"), static_cast<DWORD>(STATUS_STACK_BUFFER_OVERRUN));
}

}  // namespace
