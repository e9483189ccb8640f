// The skinned window's life: message routing to the handlers, the skin
// built at creation, notifications, and the defaults of its hooks.
#include "window_impl_base.h"

#include "control.h"
#include "skin_text.h"

#include <cwchar>

namespace SkinUI {

SKIN_BEGIN_MESSAGE_MAP(WindowImplBase, CNotifyPump)
SKIN_ON_MSGTYPE(L"click", OnClick)
SKIN_END_MESSAGE_MAP()

namespace {

// Shown, before the process ends, when a window's layout cannot be built.
const wchar_t kLoadFailedText[] = L"加载资源文件失败";
const wchar_t kLoadFailedCaption[] = L"SkinUI";

// A colour replaces the background's image.
template <typename Set> void RecolourBackground(CControlUI* background, Set set)
{
    if (!background) {
        return;
    }
    background->SetBkImage(L"");
    set(*background);
    background->NeedUpdate();
}

} // namespace

UINT WindowImplBase::GetClassStyle() const
{
    return CS_DBLCLKS;
}

CSkinString WindowImplBase::GetSkinFile() const
{
    return m_sSkinFile;
}

CSkinString WindowImplBase::GetSkinFolder() const
{
    return m_sSkinFolder;
}

UILIB_RESTYPE WindowImplBase::GetResourceType() const
{
    return m_nResType;
}

CSkinString WindowImplBase::GetZIPFileName() const
{
    return CSkinString();
}

const wchar_t* WindowImplBase::GetResourceID() const
{
    return L"";
}

const wchar_t* WindowImplBase::GetManagerName() const
{
    return nullptr;
}

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM wParam)
{
    return wParam == VK_ESCAPE ? 1 : 0;
}

CControlUI* WindowImplBase::CreateControl(const wchar_t*)
{
    return nullptr;
}

const wchar_t* WindowImplBase::QueryControlText(const wchar_t*, const wchar_t*)
{
    return nullptr;
}

LONG WindowImplBase::GetStyle()
{
    return static_cast<LONG>(GetWindowLongPtrW(m_hWnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_CAPTION));
}

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    using Handler = LRESULT (WindowImplBase::*)(UINT, WPARAM, LPARAM, BOOL&);
    static const struct {
        UINT message;
        Handler handler;
    } kHandlers[] = {
        {WM_CREATE, &WindowImplBase::OnCreate},         {WM_CLOSE, &WindowImplBase::OnClose},
        {WM_DESTROY, &WindowImplBase::OnDestroy},       {WM_NCACTIVATE, &WindowImplBase::OnNcActivate},
        {WM_NCCALCSIZE, &WindowImplBase::OnNcCalcSize}, {WM_NCPAINT, &WindowImplBase::OnNcPaint},
        {WM_NCHITTEST, &WindowImplBase::OnNcHitTest},   {WM_GETMINMAXINFO, &WindowImplBase::OnGetMinMaxInfo},
        {WM_MOUSEWHEEL, &WindowImplBase::OnMouseWheel}, {WM_SIZE, &WindowImplBase::OnSize},
        {WM_DPICHANGED, &WindowImplBase::OnDpiChanged}, {WM_CHAR, &WindowImplBase::OnChar},
        {WM_SYSCOMMAND, &WindowImplBase::OnSysCommand}, {WM_KEYDOWN, &WindowImplBase::OnKeyDown},
        {WM_KILLFOCUS, &WindowImplBase::OnKillFocus},   {WM_SETFOCUS, &WindowImplBase::OnSetFocus},
        {WM_LBUTTONUP, &WindowImplBase::OnLButtonUp},   {WM_LBUTTONDOWN, &WindowImplBase::OnLButtonDown},
        {WM_MOUSEMOVE, &WindowImplBase::OnMouseMove},   {WM_MOUSEHOVER, &WindowImplBase::OnMouseHover},
    };
    LRESULT lRes = 0;
    BOOL bHandled = FALSE;
    for (const auto& entry : kHandlers) {
        if (entry.message == uMsg) {
            bHandled = TRUE;
            lRes = (this->*entry.handler)(uMsg, wParam, lParam, bHandled);
            break;
        }
    }
    if (bHandled) {
        return lRes;
    }
    lRes = HandleCustomMessage(uMsg, wParam, lParam, bHandled);
    if (bHandled) {
        return lRes;
    }
    if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) {
        return lRes;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

bool WindowImplBase::SelectSkin()
{
    if (CPaintManagerUI::GetResourcePath().IsEmpty()) {
        CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath() + GetSkinFolder());
    }
    switch (GetResourceType()) {
    case RESTYPE_ZIPFILE:
        CPaintManagerUI::SetResourceZip(GetZIPFileName(), true);
        return true;
    case RESTYPE_ZIPRESOURCE: {
        const HINSTANCE module = CPaintManagerUI::GetResourceDll();
        HRSRC resource = FindResourceW(module, GetResourceID(), L"ZIPRES");
        HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
        const DWORD size = loaded ? SizeofResource(module, resource) : 0;
        const void* data = size ? LockResource(loaded) : nullptr;
        if (!data) {
            return false;
        }
        CPaintManagerUI::SetResourceZip(data, size);
        return true;
    }
    default:
        return true;
    }
}

LRESULT WindowImplBase::OnDpiChanged(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    // Fonts, images and lengths follow the new scale; the tree lays out again.
    // One move, to the rectangle the system suggests for the new monitor.
    m_pm.SetDPIAt(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
    m_pm.Invalidate();
    return 0;
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    const LONG_PTR style = GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    SetWindowLongPtrW(m_hWnd, GWL_STYLE,
                      (style & ~static_cast<LONG_PTR>(WS_CAPTION)) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    RECT rcClient{};
    GetClientRect(m_hWnd, &rcClient);
    SetWindowPos(m_hWnd, nullptr, rcClient.left, rcClient.top, rcClient.right - rcClient.left,
                 rcClient.bottom - rcClient.top, SWP_FRAMECHANGED);

    m_pm.Init(m_hWnd, GetManagerName());
    // The tree is built at the monitor's scale, so that the window is
    // created at its scaled size (a process the system does not let see
    // the real DPI reads 96).
    const int dpi = CDPI::GetDPIOfMonitor(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST));
    if (dpi != static_cast<int>(m_pm.GetDPIObj()->GetDPI())) {
        m_pm.SetDPI(dpi);
    }
    m_pm.AddPreMessageFilter(this);
    // Without its archive the window stays empty (and paints black).
    if (!SelectSkin()) {
        return 0;
    }
    CDialogBuilder builder;
    const CSkinString skinFile = GetSkinFile();
    CControlUI* root = nullptr;
    if (GetResourceType() == RESTYPE_RESOURCE) {
        const auto id = static_cast<UINT>(std::wcstoul(skinFile, nullptr, 10));
        root = builder.Create(STRINGorID(id), L"xml", this, &m_pm);
    } else {
        root = builder.Create(STRINGorID(skinFile.GetData()), nullptr, this, &m_pm);
    }
    if (!root) {
        MessageBoxW(nullptr, kLoadFailedText, kLoadFailedCaption, MB_OK | MB_ICONERROR);
        ExitProcess(1);
    }
    m_pm.AttachDialog(root);
    m_pm.AddNotifier(this);
    InitWindow();
    return 0;
}

void WindowImplBase::OnFinalMessage(HWND)
{
    m_pm.RemovePreMessageFilter(this);
    m_pm.RemoveNotifier(this);
    m_pm.ReapObjects(m_pm.GetRoot());
    m_pm.Unbind();
}

void WindowImplBase::Notify(tagTNotifyUI& msg)
{
    if (msg.sType == L"windowinit") {
        OnPrepare();
        return;
    }
    NotifyPump(msg);
}

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM, bool&)
{
    if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        return ResponseDefaultKeyEvent(wParam);
    }
    return 0;
}

void WindowImplBase::OnClick(tagTNotifyUI& msg)
{
    const CSkinString name = msg.pSender ? msg.pSender->GetName() : CSkinString();
    const struct {
        const wchar_t* name;
        WPARAM command;
    } kButtons[] = {
        {L"closebtn", SC_CLOSE},        {L"minbtn", SC_MINIMIZE},       {L"maxbtn", SC_MAXIMIZE},
        {L"maxrestorebtn", SC_RESTORE}, {L"minrestorebtn", SC_RESTORE},
    };
    for (const auto& button : kButtons) {
        if (name == button.name) {
            ::SendMessageW(m_hWnd, WM_SYSCOMMAND, button.command, 0);
            return;
        }
    }
}

bool WindowImplBase::IsInStaticControl(CControlUI* pControl)
{
    static const wchar_t* const kStaticClasses[] = {
        L"controlui",        L"textui",      L"labelui",       L"containerui",    L"horizontallayoutui",
        L"verticallayoutui", L"tablayoutui", L"childlayoutui", L"dialoglayoutui", L"progresscontainerui",
    };
    if (!pControl) {
        return false;
    }
    for (CControlUI* control = pControl; control; control = control->GetParent()) {
        bool isStatic = false;
        for (const wchar_t* name : kStaticClasses) {
            isStatic = isStatic || SkinCompareNoCase(control->GetClass(), name) == 0;
        }
        if (!isStatic) {
            return false;
        }
    }
    return true;
}

CControlUI* WindowImplBase::GetBkControlUI()
{
    return m_pm.FindControl(L"background");
}

void WindowImplBase::SetBKColor2(DWORD color)
{
    RecolourBackground(GetBkControlUI(), [color](CControlUI& c) { c.SetBkColor2(color); });
}

void WindowImplBase::SetBKColor3(DWORD color)
{
    RecolourBackground(GetBkControlUI(), [color](CControlUI& c) { c.SetBkColor3(color); });
}

void WindowImplBase::SetBkColor(DWORD color)
{
    RecolourBackground(GetBkControlUI(), [color](CControlUI& c) { c.SetBkColor(color); });
}

DWORD WindowImplBase::GetBkColor3()
{
    CControlUI* background = GetBkControlUI();
    return background ? background->GetBkColor3() : 0;
}

DWORD WindowImplBase::GetBkColor2()
{
    CControlUI* background = GetBkControlUI();
    return background ? background->GetBkColor2() : 0;
}

DWORD WindowImplBase::GetBkColor()
{
    CControlUI* background = GetBkControlUI();
    return background ? background->GetBkColor() : 0;
}

void WindowImplBase::SetBkImage(CSkinString image)
{
    if (CControlUI* background = GetBkControlUI()) {
        background->SetBkImage(image);
    }
}

CSkinString WindowImplBase::GetBkImage()
{
    CControlUI* background = GetBkControlUI();
    return background ? background->GetBkImage() : CSkinString();
}

} // namespace SkinUI
