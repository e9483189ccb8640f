#include "main_frame_wnd.h"

#include <chrono>
#include <cwchar>
#include <utility>

#include "control.h"
#include "progress.h"
#include "updater_identity.h"

namespace {

// Kept as UTF-16 from the start: through the ANSI code page the Chinese
// text would turn into "?" on other systems.
const wchar_t kVersionText[] = L"\u6700\u65b0\u7248\u672c\uff1aV" FERNCASTLE_UPDATER_VERSION; // 最新版本：V…
const wchar_t kDescription[] = L"Swiftmere";
const std::chrono::milliseconds kWorkerStopGrace(500);

} // namespace

MainFrameWnd::MainFrameWnd(UpdateCheck check, PackageServices services)
    : m_check(std::move(check)), m_services(std::move(services))
{
}

void MainFrameWnd::InitWindow()
{
    // The window opens with no focused control, so that Return and Escape
    // change nothing until Tab gives a button the focus.
    m_pm.CancelFocusNeeded();
    m_close = m_pm.FindControl(L"CloseNormal");
    m_min = m_pm.FindControl(L"MinNormal");
    m_descript = m_pm.FindControl(L"lab_descript");
    m_version = m_pm.FindControl(L"lab_version");
    m_progressBody = m_pm.FindControl(L"progressbody");
    m_percentLabel = m_pm.FindControl(L"planinstalllabe");
    SkinUI::CControlUI* bar = m_pm.FindControl(L"progressinfo");
    m_progress = bar ? static_cast<SkinUI::CProgressUI*>(bar->GetInterface(L"Progress")) : nullptr;

    if (m_close)
        m_close->OnNotify += SkinUI::CDelegate<MainFrameWnd, MainFrameWnd>(this, &MainFrameWnd::OnButtonNotify);
    if (m_min)
        m_min->OnNotify += SkinUI::CDelegate<MainFrameWnd, MainFrameWnd>(this, &MainFrameWnd::OnButtonNotify);

    if (m_descript)
        m_descript->SetText(kDescription);
    // The logo shows the product: a screen reader reads it by that name.
    if (SkinUI::CControlUI* logo = m_pm.FindControl(L"logo"))
        logo->SetText(kDescription);
    if (m_version)
        m_version->SetText(kVersionText);
}

bool MainFrameWnd::OnButtonNotify(void* param)
{
    const auto* msg = static_cast<SkinUI::tagTNotifyUI*>(param);
    if (!msg || !msg->pSender || msg->sType != L"click")
        return true;
    if (msg->pSender->GetName() == L"CloseNormal")
        Close(1);
    else if (msg->pSender->GetName() == L"MinNormal")
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    return true;
}

void MainFrameWnd::SetButtonsEnabled(bool enabled)
{
    if (m_close)
        m_close->SetEnabled(enabled);
    if (m_min)
        m_min->SetEnabled(enabled);
}

void MainFrameWnd::OnWindowInit()
{
    // On the UI thread before the first paint: the window waits for the
    // answer, for kUpdateCheckDeadlineMs at most.
    const bool offered = m_check && m_check(m_offer);
    if (m_progressBody)
        m_progressBody->SetVisible(offered);
    if (!offered || m_worker) {
        SetButtonsEnabled(true);
        return;
    }
    SetButtonsEnabled(false);
    StartWorker();
}

void MainFrameWnd::StartWorker()
{
    // The worker reaches the window only through posted messages; the
    // window reads the latest percentage when it handles one.
    const HWND hwnd = m_hWnd;
    try {
        m_worker = std::make_unique<PackageWorker>(m_services, [hwnd](WorkerEvent event) {
            const UINT message = event == WorkerEvent::Progress     ? kWorkerProgressMessage
                                 : event == WorkerEvent::Downloaded ? kWorkerDownloadedMessage
                                                                    : kWorkerFinishedMessage;
            return ::PostMessageW(hwnd, message, 0, 0) != FALSE;
        });
    } catch (...) {
        // No memory for the worker: no download, and the window answers again.
        SetButtonsEnabled(true);
        return;
    }
    // A worker that cannot start posts Finished, which gives the buttons back.
    m_worker->Start(m_offer);
}

void MainFrameWnd::ShowDownloadEnd()
{
    // The last percentage counts even if its own message was not seen.
    if (m_worker->LatestPercent() >= 0)
        SetProgress(m_worker->LatestPercent());
    SetButtonsEnabled(true);
}

void MainFrameWnd::SetProgress(int percent)
{
    wchar_t text[16] = {};
    swprintf(text, sizeof text / sizeof text[0], L"%d%%", percent);
    if (m_percentLabel)
        m_percentLabel->SetText(text);
    if (m_progress)
        m_progress->SetValue(percent);
}

LRESULT MainFrameWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    switch (uMsg) {
    case WM_COPYDATA: {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data && data->dwData == kActivateCommand)
            SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        // Left unhandled: the paint manager and the default procedure see it too.
        bHandled = FALSE;
        return 0;
    }
    case kWorkerProgressMessage:
        if (m_worker && m_worker->LatestPercent() >= 0)
            SetProgress(m_worker->LatestPercent());
        bHandled = TRUE;
        return 0;
    case kWorkerDownloadedMessage:
        // Any program can post these messages: each counts only when the
        // worker is where it says. The buttons come back before the start.
        if (m_worker && m_worker->AwaitsConfirmation()) {
            ShowDownloadEnd();
            m_worker->ConfirmDownloaded();
        }
        bHandled = TRUE;
        return 0;
    case kWorkerFinishedMessage:
        if (m_worker && m_worker->HasFinished())
            ShowDownloadEnd();
        bHandled = TRUE;
        return 0;
    default:
        return WindowImplBase::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
    }
}

LRESULT MainFrameWnd::OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    // Whichever way the window goes, the download stops between two pieces,
    // the check between two blocks, and nothing is started after it: the
    // close waits at most for a start already under way, never for a check.
    if (m_worker)
        m_worker->Cancel();
    return BasicWindow::OnDestroy(uMsg, wParam, lParam, bHandled);
}

void MainFrameWnd::StopWorker()
{
    if (!m_worker)
        return;
    m_worker->Cancel();
    // A transfer notices the cancel within a piece. One blocked on a silent
    // server would hold the process until its time-out: it is left to end
    // with the process, which removes its file (created delete-pending);
    // the emptied folder goes at the next start.
    // Such a worker still runs while the exit destroys the static objects:
    // nothing it calls may touch one.
    if (m_worker->WaitForEnd(kWorkerStopGrace))
        m_worker->Join();
}
