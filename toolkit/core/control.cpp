// The control base: life, state, geometry setters, events and search.
#include "control.h"

#include "skin_geometry.h"

#include "paint_manager.h"
#include "res_info.h"
#include "resource_manager.h"
#include "skin_text.h"

namespace SkinUI {

CControlUI::CControlUI() = default;

CControlUI::~CControlUI()
{
    if (OnDestroy) {
        OnDestroy(this);
    }
    DeleteAllEntries<CSkinString>(m_mCustomAttributes);
    if (m_pManager) {
        m_pManager->ReapObjects(this);
    }
}

CControlUI* CControlUI::CreateControl()
{
    return new CControlUI;
}

const CSkinString& CControlUI::GetName() const
{
    return m_sName;
}

void CControlUI::SetName(const wchar_t* pstrName)
{
    m_sName = pstrName;
}

const wchar_t* CControlUI::GetClass() const
{
    return L"ControlUI";
}

void* CControlUI::GetInterface(const wchar_t* pstrName)
{
    return SkinCompareNoCase(pstrName, L"Control") == 0 ? this : nullptr;
}

UINT CControlUI::GetControlFlags() const
{
    return 0;
}

bool CControlUI::Activate()
{
    return IsVisible() && IsEnabled();
}

CPaintManagerUI* CControlUI::GetManager() const
{
    return m_pManager;
}

void CControlUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    m_pManager = pManager;
    m_pParent = pParent;
    if (bInit && m_pParent) {
        Init();
    }
}

CControlUI* CControlUI::GetParent() const
{
    return m_pParent;
}

CSkinString CControlUI::GetText() const
{
    if (m_bResourceText) {
        return CResourceManager::GetInstance()->GetText(m_sText);
    }
    return m_sText;
}

void CControlUI::SetText(const wchar_t* pstrText)
{
    if (!pstrText) {
        pstrText = L"";
    }
    if (m_sText == pstrText) {
        return;
    }
    m_sText = pstrText;
    m_sText.Replace(L"{\\n}", L"\n");
    Invalidate();
    if (m_pManager) {
        m_pManager->NotifyAccessible(EVENT_OBJECT_NAMECHANGE, this);
    }
}

bool CControlUI::IsResourceText() const
{
    return m_bResourceText;
}

void CControlUI::SetResourceText(bool bResource)
{
    if (m_bResourceText == bResource) {
        return;
    }
    m_bResourceText = bResource;
    Invalidate();
}

bool CControlUI::IsDragEnabled() const
{
    return m_bDragEnabled;
}

void CControlUI::SetDragEnable(bool bDrag)
{
    m_bDragEnabled = bDrag;
}

bool CControlUI::IsDropEnabled() const
{
    return m_bDropEnabled;
}

void CControlUI::SetDropEnable(bool bDrop)
{
    m_bDropEnabled = bDrop;
}

int CControlUI::Scaled(int value) const
{
    return m_pManager ? m_pManager->GetDPIObj()->Scale(value) : value;
}

RECT CControlUI::Scaled(RECT rc) const
{
    return m_pManager ? m_pManager->GetDPIObj()->Scale(rc) : rc;
}

SIZE CControlUI::Scaled(SIZE size) const
{
    return m_pManager ? m_pManager->GetDPIObj()->Scale(size) : size;
}

RECT CControlUI::GetRelativePos() const
{
    if (!m_pParent) {
        return RECT{};
    }
    const RECT& parent = m_pParent->GetPos();
    return SaturatedRect(
        static_cast<long long>(m_rcItem.left) - parent.left, static_cast<long long>(m_rcItem.top) - parent.top,
        static_cast<long long>(m_rcItem.right) - parent.left, static_cast<long long>(m_rcItem.bottom) - parent.top);
}

RECT CControlUI::GetClientPos() const
{
    return m_rcItem;
}

const RECT& CControlUI::GetPos() const
{
    return m_rcItem;
}

void CControlUI::Move(SIZE szOffset, bool)
{
    m_szFixedXY.cx = Saturate32(static_cast<long long>(m_szFixedXY.cx) + szOffset.cx);
    m_szFixedXY.cy = Saturate32(static_cast<long long>(m_szFixedXY.cy) + szOffset.cy);
    NeedParentUpdate();
}

int CControlUI::GetWidth() const
{
    return m_rcItem.right - m_rcItem.left;
}

int CControlUI::GetHeight() const
{
    return m_rcItem.bottom - m_rcItem.top;
}

int CControlUI::GetX() const
{
    return m_rcItem.left;
}

int CControlUI::GetY() const
{
    return m_rcItem.top;
}

RECT CControlUI::GetPadding() const
{
    return Scaled(m_rcPadding);
}

void CControlUI::SetPadding(RECT rcPadding)
{
    m_rcPadding = rcPadding;
    NeedParentUpdate();
}

SIZE CControlUI::GetFixedXY() const
{
    return Scaled(m_szFixedXY);
}

void CControlUI::SetFixedXY(SIZE szXY)
{
    m_szFixedXY = szXY;
    NeedParentUpdate();
}

int CControlUI::GetFixedWidth() const
{
    return Scaled(m_szFixed.cx);
}

void CControlUI::SetFixedWidth(int cx)
{
    if (cx < 0) {
        return;
    }
    m_szFixed.cx = cx;
    NeedParentUpdate();
}

int CControlUI::GetFixedHeight() const
{
    return Scaled(m_szFixed.cy);
}

void CControlUI::SetFixedHeight(int cy)
{
    if (cy < 0) {
        return;
    }
    m_szFixed.cy = cy;
    NeedParentUpdate();
}

namespace {

// Minimum and maximum setters ignore negative and unchanged values.
bool StoreLimit(LONG& stored, int value)
{
    if (value < 0 || stored == value) {
        return false;
    }
    stored = value;
    return true;
}

} // namespace

int CControlUI::GetMinWidth() const
{
    return Scaled(m_szMin.cx);
}

void CControlUI::SetMinWidth(int cx)
{
    if (StoreLimit(m_szMin.cx, cx)) {
        NeedParentUpdate();
    }
}

int CControlUI::GetMaxWidth() const
{
    return Scaled(m_szMax.cx);
}

void CControlUI::SetMaxWidth(int cx)
{
    if (StoreLimit(m_szMax.cx, cx)) {
        NeedParentUpdate();
    }
}

int CControlUI::GetMinHeight() const
{
    return Scaled(m_szMin.cy);
}

void CControlUI::SetMinHeight(int cy)
{
    if (StoreLimit(m_szMin.cy, cy)) {
        NeedParentUpdate();
    }
}

int CControlUI::GetMaxHeight() const
{
    return Scaled(m_szMax.cy);
}

void CControlUI::SetMaxHeight(int cy)
{
    if (StoreLimit(m_szMax.cy, cy)) {
        NeedParentUpdate();
    }
}

tagTPercentInfo CControlUI::GetFloatPercent() const
{
    return m_floatPercent;
}

void CControlUI::SetFloatPercent(tagTPercentInfo piFloatPercent)
{
    m_floatPercent = piFloatPercent;
    NeedParentUpdate();
}

void CControlUI::SetFloatAlign(UINT uAlign)
{
    m_uFloatAlign = uAlign;
    NeedParentUpdate();
}

UINT CControlUI::GetFloatAlign() const
{
    return m_uFloatAlign;
}

CSkinString CControlUI::GetToolTip() const
{
    if (m_bResourceText) {
        return CResourceManager::GetInstance()->GetText(m_sToolTip);
    }
    return m_sToolTip;
}

void CControlUI::SetToolTip(const wchar_t* pstrText)
{
    m_sToolTip = pstrText;
    m_sToolTip.Replace(L"<n>", L"\r\n");
    // A button's tool tip is its name to assistive technology.
    if (m_pManager) {
        m_pManager->NotifyAccessible(EVENT_OBJECT_NAMECHANGE, this);
    }
}

void CControlUI::SetToolTipWidth(int nWidth)
{
    m_nToolTipWidth = nWidth;
}

int CControlUI::GetToolTipWidth() const
{
    return Scaled(m_nToolTipWidth);
}

WORD CControlUI::GetCursor() const
{
    return m_wCursor;
}

void CControlUI::SetCursor(WORD wCursor)
{
    m_wCursor = wCursor;
    Invalidate();
}

wchar_t CControlUI::GetShortcut() const
{
    return m_chShortcut;
}

void CControlUI::SetShortcut(wchar_t ch)
{
    m_chShortcut = ch;
}

bool CControlUI::IsContextMenuUsed() const
{
    return m_bMenuUsed;
}

void CControlUI::SetContextMenuUsed(bool bMenuUsed)
{
    m_bMenuUsed = bMenuUsed;
}

const CSkinString& CControlUI::GetUserData() const
{
    return m_sUserData;
}

void CControlUI::SetUserData(const wchar_t* pstrText)
{
    m_sUserData = pstrText;
}

UINT_PTR CControlUI::GetTag() const
{
    return m_pTag;
}

void CControlUI::SetTag(UINT_PTR pTag)
{
    m_pTag = pTag;
}

bool CControlUI::IsVisible() const
{
    return m_bVisible && m_bInternVisible;
}

void CControlUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) {
        return;
    }
    if (m_pManager) {
        m_pManager->NotifyAccessibleVisibility(this, bVisible);
    }
    const bool wasVisible = IsVisible();
    m_bVisible = bVisible;
    m_bFocused = false;
    if (!bVisible && m_pManager && m_pManager->GetFocus() == this) {
        m_pManager->SetFocus(nullptr);
    }
    if (IsVisible() != wasVisible) {
        NeedParentUpdate();
    }
}

void CControlUI::SetInternVisible(bool bVisible)
{
    m_bInternVisible = bVisible;
    if (!bVisible && m_pManager && m_pManager->GetFocus() == this) {
        m_pManager->SetFocus(nullptr);
    }
}

bool CControlUI::IsEnabled() const
{
    return m_bEnabled;
}

void CControlUI::SetEnabled(bool bEnable)
{
    if (m_bEnabled == bEnable) {
        return;
    }
    m_bEnabled = bEnable;
    Invalidate();
    if (m_pManager) {
        m_pManager->NotifyAccessible(EVENT_OBJECT_STATECHANGE, this);
    }
}

bool CControlUI::IsMouseEnabled() const
{
    return m_bMouseEnabled;
}

void CControlUI::SetMouseEnabled(bool bEnable)
{
    m_bMouseEnabled = bEnable;
}

bool CControlUI::IsKeyboardEnabled() const
{
    return m_bKeyboardEnabled;
}

void CControlUI::SetKeyboardEnabled(bool bEnable)
{
    m_bKeyboardEnabled = bEnable;
}

bool CControlUI::IsFocused() const
{
    return m_bFocused;
}

void CControlUI::SetFocus()
{
    if (m_pManager) {
        m_pManager->SetFocus(this);
    }
}

bool CControlUI::IsFloat() const
{
    return m_bFloat;
}

void CControlUI::SetFloat(bool bFloat)
{
    if (m_bFloat == bFloat) {
        return;
    }
    m_bFloat = bFloat;
    NeedParentUpdate();
}

CControlUI* CControlUI::FindControl(FindControlProc Proc, void* pData, UINT uFlags)
{
    if ((uFlags & FindVisible) && !IsVisible()) {
        return nullptr;
    }
    if ((uFlags & FindEnabled) && !IsEnabled()) {
        return nullptr;
    }
    if ((uFlags & FindHitTest) && (!m_bMouseEnabled || !PtInRect(&m_rcItem, *static_cast<const POINT*>(pData)))) {
        return nullptr;
    }
    return Proc(this, pData);
}

void CControlUI::Init()
{
    DoInit();
    OnInit(this);
}

void CControlUI::DoInit() {}

void CControlUI::Event(tagTEventUI& event)
{
    if (OnEvent(&event)) {
        DoEvent(event);
    }
}

bool CControlUI::PassMouseEventOn(tagTEventUI& event)
{
    if (IsMouseEnabled() || !IsMouseEvent(event.Type)) {
        return false;
    }
    if (m_pParent) {
        m_pParent->DoEvent(event);
    } else {
        CControlUI::DoEvent(event);
    }
    return true;
}

void CControlUI::DoEvent(tagTEventUI& event)
{
    switch (event.Type) {
    case EventSetCursor:
        ::SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(m_wCursor != 0 ? m_wCursor : 32512)));
        return;
    case EventSetFocus:
        m_bFocused = true;
        Invalidate();
        return;
    case EventKillFocus:
        m_bFocused = false;
        Invalidate();
        return;
    case EventTimer:
        if (m_pManager) {
            m_pManager->SendNotify(this, L"timer", event.wParam, event.lParam);
        }
        return;
    case EventContextMenu:
        if (IsContextMenuUsed()) {
            if (m_pManager) {
                m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
            }
            return;
        }
        break;
    default:
        break;
    }
    if (m_pParent) {
        m_pParent->DoEvent(event);
    }
}

bool CControlUI::SetTimer(UINT nTimerID, UINT nElapse)
{
    return m_pManager && m_pManager->SetTimer(this, nTimerID, nElapse);
}

bool CControlUI::KillTimer(UINT nTimerID)
{
    return m_pManager && m_pManager->KillTimer(this, nTimerID);
}

CSkinString CControlUI::GetVirtualWnd() const
{
    if (!m_sVirtualWnd.IsEmpty()) {
        return m_sVirtualWnd;
    }
    return m_pParent ? m_pParent->GetVirtualWnd() : CSkinString();
}

void CControlUI::SetVirtualWnd(const wchar_t* pstrValue)
{
    m_sVirtualWnd = pstrValue;
    if (m_pManager) {
        m_pManager->UsedVirtualWnd(true);
    }
}

void CControlUI::AddCustomAttribute(const wchar_t* pstrName, const wchar_t* pstrAttr)
{
    if (!pstrName || !*pstrName || !pstrAttr || !*pstrAttr || m_mCustomAttributes.Find(pstrName)) {
        return;
    }
    auto* value = new CSkinString(pstrAttr);
    if (!m_mCustomAttributes.Insert(pstrName, value)) {
        delete value;
    }
}

const wchar_t* CControlUI::GetCustomAttribute(const wchar_t* pstrName) const
{
    const auto* value = static_cast<const CSkinString*>(m_mCustomAttributes.Find(pstrName));
    return value ? value->GetData() : nullptr;
}

bool CControlUI::RemoveCustomAttribute(const wchar_t* pstrName)
{
    return pstrName && *pstrName && RemoveEntry<CSkinString>(m_mCustomAttributes, pstrName);
}

void CControlUI::RemoveAllCustomAttribute()
{
    DeleteAllEntries<CSkinString>(m_mCustomAttributes);
    m_mCustomAttributes.Resize(83);
}

void CControlUI::setInstance(HINSTANCE instance)
{
    m_instance = instance;
}

} // namespace SkinUI
