#include "basic_window.h"

void BasicWindow::Notify(SkinUI::tagTNotifyUI& msg)
{
    if (msg.sType == L"windowinit") {
        OnWindowInit();
        return;
    }
    WindowImplBase::Notify(msg);
}

HWND BasicWindow::CreateWnd(HWND parent, const wchar_t* title)
{
    const DWORD style = parent ? (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN)
                               : (WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU);
    return Create(parent, title, style, WS_EX_WINDOWEDGE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  nullptr);
}
