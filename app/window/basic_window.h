// The base of the updater's windows: the skin comes from the ZIP archive in
// the executable's resources (ZIPRES 129), and the first layout pass is
// answered by OnWindowInit.
#pragma once

#include "window_impl_base.h"

class BasicWindow : public SkinUI::WindowImplBase {
public:
    const wchar_t* GetWindowClassName() const override { return L"AppWnd"; }
    SkinUI::CSkinString GetSkinFile() const override { return L"AppWnd.xml"; }
    SkinUI::CSkinString GetSkinFolder() const override { return L"Skin"; }
    SkinUI::UILIB_RESTYPE GetResourceType() const override { return SkinUI::RESTYPE_ZIPRESOURCE; }
    const wchar_t* GetResourceID() const override { return MAKEINTRESOURCEW(129); }
    // Escape answers 1, everything else 0; the toolkit does not act on it.
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override { return wParam == VK_ESCAPE ? 1 : 0; }
    void Notify(SkinUI::tagTNotifyUI& msg) override;
    void OnFinalMessage(HWND hWnd) override { WindowImplBase::OnFinalMessage(hWnd); }

    // A top-level popup with caption and system menu, or a child window.
    virtual HWND CreateWnd(HWND parent, const wchar_t* title);
    // Once, on the first layout pass.
    virtual void OnWindowInit() {}
};
