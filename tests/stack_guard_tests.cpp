// The stack protector's guard of MinGW-w64 builds (app/stack_guard.cpp), which this test program
// links and starts with as the editor does: the test starts itself again, as a child that plays one
// part of it, and reads what the child did from its exit code, and what its failure handler told
// Windows from a file.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <ios>
#include <set>
#include <string>
#include <vector>

#include "failing_calls.h"

extern "C" uintptr_t __stack_chk_guard;

namespace {

// The child's part: "guard", which reports the low half of the child's guard as its exit code,
// "changed", or "changed without fail-fast".
const char ChildPart[] = "TRAZOS_STACK_GUARD_CHILD";
// Where the last of these writes its Report.
const char ReportPath[] = "TRAZOS_STACK_GUARD_REPORT";

std::string PartOfThisProcess()
{
    const char* part = std::getenv(ChildPart);
    return part ? part : "";
}

// Protected, for its array. The guard changes while it runs, as the copy of it on the stack changes
// when a write runs over the array, wherever the compiler put that copy; the check on return then
// finds the two different. The array's address goes to the assembler, so that neither compiler can
// leave the array out, and the protection with it, as both did while it was only written to.
__attribute__((noinline)) void ChangeTheGuardWithinAProtectedFunction()
{
    char buffer[16];
    __asm__ volatile("" : : "r"(buffer) : "memory");
    *static_cast<volatile uintptr_t*>(&__stack_chk_guard) ^= 0x100;
}

void ChangeTheGuardAndReturn()
{
    // Anything that still ran on the way out, as exit() would run this, changes the exit code.
    std::atexit([] { std::_Exit(1); });
    ChangeTheGuardWithinAProtectedFunction();
}

// The current test, run again in a child that plays the part; its exit code. A child that did not
// start or did not end fails the test, rather than give a code that could pass for a guard.
DWORD RunThisTestAsAChild(const std::string& part)
{
    const testing::TestInfo& test = *testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter = std::string(test.test_suite_name()) + "." + test.name();
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine =
        L"\"" + std::wstring(self) + L"\" --gtest_filter=" + std::wstring(filter.begin(), filter.end());
    SetEnvironmentVariableA(ChildPart, part.c_str());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;  // and no handles: the child's report is its exit code alone
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessW(self, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                        &process);
    const DWORD error = GetLastError();
    SetEnvironmentVariableA(ChildPart, nullptr);
    if (!started) {
        ADD_FAILURE() << "the child \"" << part << "\" did not start: error " << error;
        return 0xFFFFFFFF;
    }
    // The wait only keeps a hung child from hanging the test run.
    const bool ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
    DWORD exitCode = 0xFFFFFFFF;
    GetExitCodeProcess(process.hProcess, &exitCode);
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_TRUE(ended) << "the child \"" << part << "\" did not end within a minute";
    return exitCode;
}

TEST(StackGuard, DiffersInEveryStartEndsInAZeroByteAndAChangedGuardEndsTheProcessAtOnce)
{
    const std::string part = PartOfThisProcess();
    if (part == "changed") {
        ChangeTheGuardAndReturn();
        return;
    }
    if (part == "guard") {
        ExitProcess(static_cast<DWORD>(__stack_chk_guard));
    }

    std::vector<DWORD> guards = {static_cast<DWORD>(__stack_chk_guard)};
    for (int child = 0; child < 3; ++child) {
        guards.push_back(RunThisTestAsAChild("guard"));
    }
    for (DWORD guard : guards) {
        EXPECT_EQ(guard & 0xff, 0u) << "in the guard ending in " << std::hex << guard;
    }
    EXPECT_EQ(std::set<DWORD>(guards.begin(), guards.end()).size(), 4u) << "four starts, four guards";
    EXPECT_EQ(RunThisTestAsAChild("changed"), static_cast<DWORD>(STATUS_STACK_BUFFER_OVERRUN));
}

// What the failure handler gave Windows' unhandled exception filter.
struct Report {
    DWORD code = 0;
    DWORD flags = 0;
    DWORD parameters = 0;
    ULONG_PTR parameter = 0;
    bool inTheFunctionThatChangedTheGuard = false;  // the exception's address
    bool contextAtTheAddress = false;               // the context's instruction pointer
};

decltype(&IsProcessorFeaturePresent) realIsProcessorFeaturePresent;
decltype(&UnhandledExceptionFilter) realUnhandledExceptionFilter;

// A Windows before 8, which has no fail-fast interrupt.
BOOL WINAPI WithoutFailFast(DWORD feature)
{
    return feature != PF_FASTFAIL_AVAILABLE && realIsProcessorFeaturePresent(feature);
}

LONG WINAPI RecordTheReport(EXCEPTION_POINTERS* pointers)
{
    const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
    const auto address = reinterpret_cast<DWORD64>(record.ExceptionAddress);
    const auto function = reinterpret_cast<DWORD64>(&ChangeTheGuardWithinAProtectedFunction);
    DWORD64 base = 0;
    Report report;
    report.code = record.ExceptionCode;
    report.flags = record.ExceptionFlags;
    report.parameters = record.NumberParameters;
    report.parameter = record.ExceptionInformation[0];
    report.inTheFunctionThatChangedTheGuard =
        RtlLookupFunctionEntry(address, &base, nullptr) == RtlLookupFunctionEntry(function, &base, nullptr);
    report.contextAtTheAddress = pointers->ContextRecord->Rip == address;
    std::ofstream file(std::getenv(ReportPath), std::ios::binary);
    file.write(reinterpret_cast<const char*>(&report), sizeof report);
    return EXCEPTION_CONTINUE_SEARCH;
}

TEST(StackGuard, WithoutFailFastAChangedGuardIsReportedToWindowsAsAnOverrunWhereItWasFound)
{
    if (PartOfThisProcess() == "changed without fail-fast") {
        using failing_calls_detail::Replace;
        ASSERT_TRUE(
            Replace("kernel32.dll", "IsProcessorFeaturePresent", &WithoutFailFast, realIsProcessorFeaturePresent));
        ASSERT_TRUE(
            Replace("kernel32.dll", "UnhandledExceptionFilter", &RecordTheReport, realUnhandledExceptionFilter));
        ChangeTheGuardAndReturn();
        return;
    }

    char folder[MAX_PATH] = {}, path[MAX_PATH] = {};
    ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0u);
    ASSERT_NE(GetTempFileNameA(folder, "trz", 0, path), 0u);
    SetEnvironmentVariableA(ReportPath, path);
    EXPECT_EQ(RunThisTestAsAChild("changed without fail-fast"), static_cast<DWORD>(STATUS_STACK_BUFFER_OVERRUN));
    SetEnvironmentVariableA(ReportPath, nullptr);
    Report report;
    std::ifstream file(path, std::ios::binary);
    const bool reported = static_cast<bool>(file.read(reinterpret_cast<char*>(&report), sizeof report));
    file.close();
    DeleteFileA(path);
    ASSERT_TRUE(reported) << "the handler called no unhandled exception filter";
    EXPECT_EQ(report.code, static_cast<DWORD>(STATUS_STACK_BUFFER_OVERRUN));
    EXPECT_EQ(report.flags, static_cast<DWORD>(EXCEPTION_NONCONTINUABLE));
    EXPECT_EQ(report.parameters, 1u);
    EXPECT_EQ(report.parameter, static_cast<ULONG_PTR>(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE));
    EXPECT_TRUE(report.inTheFunctionThatChangedTheGuard);
    EXPECT_TRUE(report.contextAtTheAddress);
}

}  // namespace
