// The stack protector's guard of MinGW-w64 builds (app/stack_guard.cpp), which this test program
// links and starts with as the editor does: the test starts itself again, as a child that plays one
// part of it, and reads what the child did from its exit code.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" uintptr_t __stack_chk_guard;

namespace {

// The child's part: "overrun", or the parent's guard in decimal, which the child compares with its own.
const char ChildPart[] = "TRAZOS_STACK_GUARD_CHILD";
enum : DWORD { ChildHasAnotherGuard = 41, ChildHasTheSameGuard = 42 };

// Protected, for its array. The writes are volatile, so the compiler can neither leave them out nor
// warn of the overrun; GCC puts the guard within the 16 bytes past the array's end.
__attribute__((noinline)) void WritePastTheEndOfALocalBuffer(size_t count)
{
    char buffer[16];
    volatile char* through = buffer;
    for (size_t i = 0; i < count; ++i) {
        through[i] = 'x';
    }
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

TEST(StackGuard, DiffersInEveryStartAndAnOverrunEndsTheProcessAtOnce)
{
    const std::string part = std::getenv(ChildPart) ? std::getenv(ChildPart) : "";
    if (part == "overrun") {
        // Anything that still ran on the way out, as exit() would run this, changes the exit code.
        std::atexit([] { std::_Exit(1); });
        WritePastTheEndOfALocalBuffer(16 + 16);
        return;
    }
    if (!part.empty()) {
        ExitProcess(std::stoull(part) == __stack_chk_guard ? ChildHasTheSameGuard : ChildHasAnotherGuard);
    }

    EXPECT_EQ(RunThisTestAsAChild(std::to_string(__stack_chk_guard)), ChildHasAnotherGuard);
    EXPECT_EQ(RunThisTestAsAChild("overrun"), static_cast<DWORD>(STATUS_STACK_BUFFER_OVERRUN));
}

}  // namespace
