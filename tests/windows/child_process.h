// A program the test starts and waits for with a deadline.
#pragma once

#include <string>
#include <windows.h>

class ChildProcess {
public:
    explicit ChildProcess(std::wstring commandLine)
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &process)) {
            CloseHandle(process.hThread);
            m_process = process.hProcess;
            m_id = process.dwProcessId;
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess()
    {
        if (m_process) {
            Wait(0);
            CloseHandle(m_process);
        }
    }

    bool Started() const { return m_process != nullptr; }
    bool Ended() const { return !m_process || WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0; }
    DWORD Id() const { return m_id; }
    // The exit code; -1 when the program does not end in time (it is then ended).
    int Wait(DWORD timeoutMs)
    {
        if (WaitForSingleObject(m_process, timeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(m_process, 255);
            WaitForSingleObject(m_process, INFINITE);
            return -1;
        }
        DWORD code = 0;
        GetExitCodeProcess(m_process, &code);
        return static_cast<int>(code);
    }

private:
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};
