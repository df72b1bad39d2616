// A file that another process really holds: the run rolls back and, where
// the system's Restart Manager answers, names the program that holds it.
#include "on_platform.h"
#include "paths.h"
#include "platform/windows/wide_text.h"
#include "run_folder.h"
#include "run_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace velmorandi {
namespace {

using testing::Snapshot;
using testing::TempFolder;
using testing::TestRecords;

constexpr const wchar_t* kHolder = L"velmorandi_file_holder.exe";

bool underWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The holder program lies beside the tests.
std::wstring holderPath() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(::GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    return path.substr(0, path.find_last_of(L'\\') + 1) + kHolder;
}

// velmorandi_file_holder holding one file, until this goes.
class HoldingProgram {
  public:
    explicit HoldingProgram(const std::string& file) {
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        HANDLE childInput = nullptr;
        HANDLE childOutput = nullptr;
        if (!::CreatePipe(&childInput, &m_input, &inherited, 0) ||
            !::CreatePipe(&m_output, &childOutput, &inherited, 0))
            return;
        ::SetHandleInformation(m_input, HANDLE_FLAG_INHERIT, 0);
        ::SetHandleInformation(m_output, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = childInput;
        startup.hStdOutput = childOutput;
        startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
        const std::wstring program = holderPath();
        std::wstring line = L"\"" + program + L"\" \"" + platform::widen(file) + L"\"";
        m_started = ::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0,
                                     nullptr, nullptr, &startup, &m_process);
        ::CloseHandle(childInput);
        ::CloseHandle(childOutput);
    }
    ~HoldingProgram() {
        ::CloseHandle(m_input); // its cue to let go
        if (m_started) {
            ::WaitForSingleObject(m_process.hProcess, 10'000);
            ::CloseHandle(m_process.hProcess);
            ::CloseHandle(m_process.hThread);
        }
        ::CloseHandle(m_output);
    }
    HoldingProgram(const HoldingProgram&) = delete;
    HoldingProgram& operator=(const HoldingProgram&) = delete;

    // Waits until it says it holds the file; false where it ended instead.
    bool holds() {
        std::string said;
        char byte = 0;
        DWORD count = 0;
        while (m_started && said.size() < 5 && ::ReadFile(m_output, &byte, 1, &count, nullptr) &&
               count == 1)
            said.push_back(byte);
        return said == "held\n";
    }

  private:
    HANDLE m_input = nullptr;
    HANDLE m_output = nullptr;
    PROCESS_INFORMATION m_process{};
    BOOL m_started = FALSE;
};

bool namesTheHolder(const std::string& program) {
    const std::wstring name = platform::widen(program);
    const std::wstring file = kHolder;
    const std::wstring stem = file.substr(0, file.size() - 4);
    for (const std::wstring& expected : {file, stem})
        if (::CompareStringOrdinal(name.c_str(), -1, expected.c_str(), -1, TRUE) == CSTR_EQUAL)
            return true;
    return false;
}

TEST(WindowsHeldFile, TheProgramThatHoldsTheFileIsNamedWhereTheSystemTells) {
    const testing::Moves moves{{"a.jpg", "x.jpg"}, {"b.jpg", "y.jpg"}};
    const TempFolder parent;
    TempFolder folder(parent.path(), {"a.jpg", "b.jpg"});
    const Snapshot before = folder.snapshot();
    HoldingProgram holder(JoinPath(folder.path(), "b.jpg"));
    ASSERT_TRUE(holder.holds());
    TestRecords records;
    const RunResult result = ExecuteRun(runRequest(folder, moves), records.control());
    EXPECT_EQ(result.outcome, RunOutcome::Failed);
    const RunFailure& failure = result.news.failure;
    EXPECT_EQ(failure.from, "b.jpg");
    EXPECT_EQ(platform::errorKind(failure.error), ErrorKind::InUse);
    EXPECT_EQ(folder.snapshot(), before);
    if (failure.holders.empty() && underWine())
        GTEST_SKIP() << "Wine's Restart Manager names no program: its RmGetList is a stub that "
                        "lists no process (Wine 8)";
    ASSERT_EQ(failure.holders.size(), 1u);
    EXPECT_TRUE(namesTheHolder(failure.holders[0])) << failure.holders[0];
}

} // namespace
} // namespace velmorandi
