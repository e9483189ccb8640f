// A library planted beside a program under a system library's name: it
// records that it was loaded, in the file named by FERNCASTLE_PLANTED_LOG,
// and offers none of the functions of the library it stands in for.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"FERNCASTLE_PLANTED_LOG", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return TRUE;
    HANDLE log = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(log, "loaded\n", 7, &written, nullptr);
        CloseHandle(log);
    }
    return TRUE;
}
