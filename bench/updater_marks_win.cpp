#include "updater_marks_win.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <utility>

#include "bench_record.h"
#include "control.h"
#include "package_launch.h"

namespace bench {

namespace {

enum class CloseAfter { Never, FirstPaint, Download };

struct Watch {
    MainFrameWnd* window = nullptr;
    CloseAfter closeAfter = CloseAfter::Never;
    bool painted = false;
    bool downloading = false;
};

Watch& TheWatch()
{
    static Watch watch;
    return watch;
}

CloseAfter CloseAfterFromEnvironment()
{
    const char* value = std::getenv("FERNCASTLE_BENCH_CLOSE");
    if (value && std::strcmp(value, "painted") == 0)
        return CloseAfter::FirstPaint;
    if (value && std::strcmp(value, "finished") == 0)
        return CloseAfter::Download;
    return CloseAfter::Never;
}

// The row that holds the progress area, in client coordinates.
void SampleProgressRow(MainFrameWnd& window)
{
    SkinUI::CControlUI* body = window.GetPaintManager().FindControl(L"progressbody");
    SkinUI::CControlUI* row = body ? body->GetParent() : nullptr;
    if (!row)
        return;
    const RECT& rc = row->GetPos();
    Sample("progress_row", {double(rc.left), double(rc.top), double(rc.right), double(rc.bottom)});
}

LRESULT CALLBACK WatchProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    Watch& watch = TheWatch();
    switch (message) {
    case WM_PAINT: {
        RECT dirty = {};
        const bool any = GetUpdateRect(hwnd, &dirty, FALSE) != FALSE;
        const bool first = !watch.painted;
        if (first)
            Mark("first_paint_entered");
        const double start = NowMs();
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        const double took = NowMs() - start;
        if (first) {
            watch.painted = true;
            Mark("first_paint_copied");
            if (watch.closeAfter == CloseAfter::FirstPaint)
                PostMessageW(hwnd, WM_CLOSE, 0, 0);
        } else if (watch.downloading && any) {
            Sample("step_paint",
                   {took, double(dirty.left), double(dirty.top), double(dirty.right), double(dirty.bottom)});
        }
        return result;
    }
    case kWorkerProgressMessage:
        watch.downloading = true;
        Add("progress_messages");
        return DefSubclassProc(hwnd, message, wParam, lParam);
    case kWorkerFinishedMessage: {
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        watch.downloading = false;
        Mark("finished");
        Add("launched", watch.window->Launched() ? 1 : 0);
        SampleProgressRow(*watch.window);
        if (watch.closeAfter == CloseAfter::Download)
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return result;
    }
    default:
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
}

} // namespace

UpdateCheck MarkedCheck(UpdateCheck check)
{
    return [check = std::move(check)](OfferedUpdate& offer) {
        Mark("check_start");
        const bool offered = check(offer);
        Mark("check_done");
        return offered;
    };
}

PackageServices MarkedPackageServices()
{
    PackageServices services = WindowsPackageServices();
    services.download = [download = services.download](const std::wstring& url, const std::wstring& path,
                                                       IDownloadOwner* owner) {
        Mark("download_start");
        download(url, path, owner);
        Mark("download_done");
    };
    services.launch = [](const std::wstring& path, const ReceivedPackage& received, const UpdateManifest& manifest) {
        return LaunchVerifiedPackage(path, received, manifest, [](const std::wstring& verified) {
            Mark("verified");
            return StartPackage(verified);
        });
    };
    return services;
}

void WatchWindow(MainFrameWnd& window)
{
    Watch& watch = TheWatch();
    watch.window = &window;
    watch.closeAfter = CloseAfterFromEnvironment();
    SetWindowSubclass(window.GetHWND(), WatchProc, 1, 0);
}

} // namespace bench
