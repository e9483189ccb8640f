// The updater's entry point: one instance per user session, COM, and the
// update window run modally until it is closed.
#include <windows.h>

#include <objbase.h>

#include "builtin_controls.h"
#include "main_frame_wnd.h"
#include "package_folder.h"
#include "package_launch.h"
#include "update_check_win.h"
#include "updater_identity.h"
#ifdef FERNCASTLE_BENCH_MARKS
#include "bench_record.h"
#include "updater_marks_win.h"
#endif

namespace {

const char kMutexName[] = "_tovira_update_mutex_ferncastle";

// Brings the running updater's window to the top, if it has one yet.
void ActivateRunningInstance()
{
    HWND running = FindWindowW(kUpdaterWindowClass, nullptr);
    if (!running)
        return;
    COPYDATASTRUCT command = {};
    command.dwData = kActivateCommand;
    SendMessageW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&command));
}

// Libraries loaded by name from now on come from the system folder only, and
// the current folder is searched for none: an installer's folder, or the
// downloads beside it, may hold a planted copy. What the executable imports
// was loaded before this runs, from its own folder first: that folder must be
// writable by administrators only, as under Program Files.
void LimitLibrarySearch()
{
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    // Looked up: Windows 7 has it only with an update.
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault)
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    LimitLibrarySearch();
    // Held until the process ends; the system releases it.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kMutexName);
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED) {
        if (mutex)
            CloseHandle(mutex);
        ActivateRunningInstance();
        return 0;
    }
    // Only now, as the one updater running: no folder still in use by another goes.
    RemoveLeftPackageFolders();

    if (FAILED(CoInitialize(nullptr)))
        return 0;
    SkinUI::CPaintManagerUI::SetInstance(instance);
    SkinUI::RegisterBuiltinControls();

    // Never deleted: the toolkit may still refer to it while the process ends.
#ifdef FERNCASTLE_BENCH_MARKS
    auto* window = new MainFrameWnd(bench::MarkedCheck(CheckForUpdate), bench::MarkedPackageServices());
    window->CreateWnd(nullptr, L"Ferncastle");
    bench::WatchWindow(*window);
#else
    auto* window = new MainFrameWnd(CheckForUpdate, WindowsPackageServices(FERNCASTLE_VENDOR_PUBLIC_KEY));
    window->CreateWnd(nullptr, L"Ferncastle");
#endif
    window->CenterWindow();
    window->ShowModal();
    // The download stops between pieces; one blocked on a silent server ends
    // with the process, and nothing is started after this. Returning runs the
    // static destructors with such a worker, or a query past its deadline,
    // still running: neither touches one.
    window->StopWorker();
    CoUninitialize();
#ifdef FERNCASTLE_BENCH_MARKS
    bench::WriteRecord();
#endif
    return 0;
}
