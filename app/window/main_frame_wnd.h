// The updater's window: the skinned 380 x 240 frame that checks for an
// update on its first layout, downloads an offered package on a worker
// thread with a live percentage, and starts it once verified.
#pragma once

#include <memory>

#include "basic_window.h"
#include "offered_update.h"
#include "package_worker.h"
#include "updater_identity.h"

namespace SkinUI {
class CControlUI;
class CProgressUI;
} // namespace SkinUI

// Worker reports, posted to the window. They stay clear of the toolkit's
// own private message, 0x8001 (WM_APP + 1).
constexpr UINT kWorkerProgressMessage = WM_APP + 0x101;
constexpr UINT kWorkerFinishedMessage = WM_APP + 0x102;
constexpr UINT kWorkerDownloadedMessage = WM_APP + 0x103;
static_assert(kWorkerProgressMessage != SkinUI::CPaintManagerUI::kAsyncMessage &&
                  kWorkerFinishedMessage != SkinUI::CPaintManagerUI::kAsyncMessage &&
                  kWorkerDownloadedMessage != SkinUI::CPaintManagerUI::kAsyncMessage,
              "the worker's messages must not be taken for the toolkit's own");

// The activation command a second instance sends with WM_COPYDATA.
constexpr ULONG_PTR kActivateCommand = 100;

class MainFrameWnd : public BasicWindow {
public:
    MainFrameWnd(UpdateCheck check, PackageServices services);

    const wchar_t* GetWindowClassName() const override { return kUpdaterWindowClass; }
    SkinUI::CSkinString GetSkinFile() const override { return L"MainFrameWnd.xml"; }
    void InitWindow() override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    void OnWindowInit() override;

    // Stops a download still under way and waits a moment for its thread;
    // nothing is started once this has begun. Called after the modal loop.
    void StopWorker();

private:
    bool OnButtonNotify(void* param);
    void SetButtonsEnabled(bool enabled);
    void StartWorker();
    // Shows a percentage in the label and the bar.
    void SetProgress(int percent);
    // Shows the worker's last percentage and gives the buttons back.
    void ShowDownloadEnd();

    UpdateCheck m_check;
    PackageServices m_services;
    OfferedUpdate m_offer;
    std::unique_ptr<PackageWorker> m_worker;

    SkinUI::CControlUI* m_descript = nullptr;
    SkinUI::CControlUI* m_version = nullptr;
    SkinUI::CControlUI* m_progressBody = nullptr;
    SkinUI::CControlUI* m_percentLabel = nullptr;
    SkinUI::CProgressUI* m_progress = nullptr;
    SkinUI::CControlUI* m_close = nullptr;
    SkinUI::CControlUI* m_min = nullptr;
};
