#include "updater_marks_win.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#include "bench_record.h"
#include "control.h"
#include "package_launch.h"

namespace bench {

namespace {

enum class CloseAfter { Never, FirstPaint, Download };

struct Watch {
    MainFrameWnd* window = nullptr;
    WNDPROC next = nullptr; // the window's own procedure
    CloseAfter closeAfter = CloseAfter::Never;
    bool painted = false;
    bool downloading = false;
    // Written by the worker, read when its Finished message comes.
    std::atomic<bool> launched{false};
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

LRESULT CALLBACK WatchProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Watch& watch = TheWatch();
    const auto pass = [&] { return CallWindowProcW(watch.next, hwnd, message, wParam, lParam); };
    switch (message) {
    case WM_PAINT: {
        RECT dirty = {};
        const bool any = GetUpdateRect(hwnd, &dirty, FALSE) != FALSE;
        const bool first = !watch.painted;
        if (first)
            Mark("first_paint_entered");
        const double start = NowMs();
        const LRESULT result = pass();
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
        return pass();
    case kWorkerDownloadedMessage:
        // The steps end here: what follows (the buttons enabled, the
        // installer's window taking the focus) is no progress step.
        watch.downloading = false;
        return pass();
    case kWorkerFinishedMessage: {
        const LRESULT result = pass();
        watch.downloading = false;
        Mark("finished");
        Add("launched", watch.launched ? 1 : 0);
        SampleProgressRow(*watch.window);
        if (watch.closeAfter == CloseAfter::Download)
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return result;
    }
    default:
        return pass();
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
    // Like the test configuration's, which carries no vendor key.
    PackageServices services = WindowsPackageServices(std::string());
    services.download = [download = services.download](const std::wstring& url, const std::wstring& path,
                                                       IDownloadOwner* owner) {
        Mark("download_start");
        download(url, path, owner);
        Mark("download_done");
    };
    auto hold = std::make_shared<PackageHold>();
    services.launch = [hold](const OfferedUpdate& offer, const ReceivedPackage& received, LaunchGate& gate) {
        const bool launched = LaunchVerifiedPackage(offer, received, std::string(), gate, *hold,
                                                    [](const std::wstring& verified, base::UniqueHandle& process) {
                                                        Mark("verified");
                                                        return StartPackage(verified, process);
                                                    });
        TheWatch().launched = launched;
        return launched;
    };
    return services;
}

void WatchWindow(MainFrameWnd& window)
{
    Watch& watch = TheWatch();
    watch.window = &window;
    watch.closeAfter = CloseAfterFromEnvironment();
    // Not SetWindowSubclass: that would load the common controls at start-up.
    watch.next = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window.GetHWND(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchProc)));
}

} // namespace bench
