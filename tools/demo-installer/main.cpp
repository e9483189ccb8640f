// The demo package: a stand-in installer that records how it was started
// (its command line) in "ferncastle-demo-install.log" in the temporary
// folder, then exits.
#include <windows.h>

#include <cstdio>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    wchar_t path[MAX_PATH + 64] = {};
    swprintf(path, MAX_PATH + 64, L"%lsferncastle-demo-install.log", folder);
    FILE* log = _wfopen(path, L"a, ccs=UTF-8");
    if (!log)
        return 1;
    fwprintf(log, L"%ls\n", GetCommandLineW());
    fclose(log);
    return 0;
}
