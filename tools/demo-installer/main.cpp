// The demo package: a stand-in installer that records how it was started
// in "ferncastle-demo-install.log" in the temporary folder, one line per
// start: its command line, a tab, "show=N" with the show command it was
// given (-1 when none was), a tab and "cwd=" with its current folder, then
// exits. FERNCASTLE_DEMO_INSTALL_LOG, when
// set, names another log file: tests that take the temporary folder away
// from the updater still see the start.
#include <windows.h>

#include <cstdio>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    wchar_t path[MAX_PATH + 64] = {};
    const DWORD named = GetEnvironmentVariableW(L"FERNCASTLE_DEMO_INSTALL_LOG", path, MAX_PATH + 64);
    if (named == 0 || named >= MAX_PATH + 64) {
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        swprintf(path, MAX_PATH + 64, L"%lsferncastle-demo-install.log", folder);
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? static_cast<int>(startup.wShowWindow) : -1;
    FILE* log = _wfopen(path, L"a, ccs=UTF-8");
    if (!log)
        return 1;
    wchar_t current[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH + 1, current);
    fwprintf(log, L"%ls\tshow=%d\tcwd=%ls\n", GetCommandLineW(), show, current);
    fclose(log);
    return 0;
}
