#include "accessible_client.h"

#include "accessible_info.h"
#include "control.h"
#include "paint_manager.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace SkinUI {

namespace {

void SetI4(VARIANT* out, LONG value)
{
    VariantInit(out);
    out->vt = VT_I4;
    out->lVal = value;
}

} // namespace

CAccessibleClient::CAccessibleClient(CPaintManagerUI* manager) : m_pManager(manager), m_thread(GetCurrentThreadId()) {}

HRESULT CAccessibleClient::Connected() const
{
    if (GetCurrentThreadId() != m_thread) {
        return RPC_E_WRONG_THREAD;
    }
    return m_pManager && IsWindow(m_pManager->GetPaintWindow()) ? S_OK : CO_E_OBJNOTCONNECTED;
}

void CAccessibleClient::Disconnect()
{
    m_pManager = nullptr;
}

HRESULT CAccessibleClient::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv) {
        return E_POINTER;
    }
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
        *ppv = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    if (riid == __uuidof(IEnumVARIANT)) {
        *ppv = static_cast<IEnumVARIANT*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CAccessibleClient::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

ULONG CAccessibleClient::Release()
{
    const LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) {
        delete this;
    }
    return static_cast<ULONG>(refs);
}

HRESULT CAccessibleClient::GetTypeInfoCount(UINT* pctinfo)
{
    if (!pctinfo) {
        return E_POINTER;
    }
    *pctinfo = 0;
    return S_OK;
}

HRESULT CAccessibleClient::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo) {
        *ppTInfo = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT CAccessibleClient::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

HRESULT CAccessibleClient::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

HRESULT CAccessibleClient::Resolve(const VARIANT& child, CControlUI*& control) const
{
    control = nullptr;
    if (const HRESULT hr = Connected(); FAILED(hr)) {
        return hr;
    }
    if (child.vt != VT_I4) {
        return E_INVALIDARG;
    }
    if (child.lVal == CHILDID_SELF) {
        return S_OK;
    }
    control = m_pManager->FindAccessibleChild(child.lVal);
    return control ? S_OK : E_INVALIDARG;
}

HRESULT CAccessibleClient::Give(const wchar_t* text, BSTR* out)
{
    if (!out) {
        return E_POINTER;
    }
    *out = nullptr;
    if (!text || !*text) {
        return S_FALSE;
    }
    *out = SysAllocString(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT CAccessibleClient::get_accParent(IDispatch** ppdispParent)
{
    if (!ppdispParent) {
        return E_POINTER;
    }
    *ppdispParent = nullptr;
    CControlUI* control = nullptr;
    VARIANT self;
    SetI4(&self, CHILDID_SELF);
    const HRESULT hr = Resolve(self, control);
    if (FAILED(hr)) {
        return hr;
    }
    return AccessibleObjectFromWindow(m_pManager->GetPaintWindow(), static_cast<DWORD>(OBJID_WINDOW),
                                      __uuidof(IDispatch), reinterpret_cast<void**>(ppdispParent));
}

HRESULT CAccessibleClient::get_accChildCount(long* pcountChildren)
{
    if (!pcountChildren) {
        return E_POINTER;
    }
    *pcountChildren = 0;
    if (const HRESULT hr = Connected(); FAILED(hr)) {
        return hr;
    }
    std::vector<CControlUI*> elements;
    m_pManager->GetAccessibleElements(elements);
    *pcountChildren = static_cast<long>(elements.size());
    return S_OK;
}

HRESULT CAccessibleClient::get_accChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild) {
        return E_POINTER;
    }
    *ppdispChild = nullptr;
    CControlUI* control = nullptr;
    const HRESULT hr = Resolve(varChild, control);
    if (FAILED(hr)) {
        return hr;
    }
    // Children are simple elements, reached through this object by id.
    return control ? S_FALSE : E_INVALIDARG;
}

HRESULT CAccessibleClient::Describe(const VARIANT& child, tagTAccessibleInfo& info) const
{
    CControlUI* control = nullptr;
    const HRESULT hr = Resolve(child, control);
    if (FAILED(hr)) {
        return hr;
    }
    const HWND window = m_pManager->GetPaintWindow();
    if (!control) {
        wchar_t title[256] = {};
        GetWindowTextW(window, title, 256);
        info.lRole = ROLE_SYSTEM_CLIENT;
        info.sName = title;
        info.lStates = STATE_SYSTEM_FOCUSABLE;
        if (GetFocus() == window && !m_pManager->GetFocus()) {
            info.lStates |= STATE_SYSTEM_FOCUSED;
        }
        return S_OK;
    }
    DescribeAccessible(*control, info);
    if (!control->IsEnabled()) {
        info.lStates = (info.lStates & ~(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED)) |
                       STATE_SYSTEM_UNAVAILABLE;
    }
    return S_OK;
}

HRESULT CAccessibleClient::GiveText(const VARIANT& child, CSkinString tagTAccessibleInfo::*text, BSTR* out) const
{
    if (!out) {
        return E_POINTER;
    }
    *out = nullptr;
    tagTAccessibleInfo info;
    const HRESULT hr = Describe(child, info);
    return FAILED(hr) ? hr : Give(text ? (info.*text).GetData() : nullptr, out);
}

HRESULT CAccessibleClient::GiveNumber(const VARIANT& child, LONG tagTAccessibleInfo::*number, VARIANT* out) const
{
    if (!out) {
        return E_POINTER;
    }
    VariantInit(out);
    tagTAccessibleInfo info;
    const HRESULT hr = Describe(child, info);
    if (SUCCEEDED(hr)) {
        SetI4(out, info.*number);
    }
    return hr;
}

HRESULT CAccessibleClient::get_accName(VARIANT varChild, BSTR* pszName)
{
    return GiveText(varChild, &tagTAccessibleInfo::sName, pszName);
}

HRESULT CAccessibleClient::get_accValue(VARIANT varChild, BSTR* pszValue)
{
    return GiveText(varChild, &tagTAccessibleInfo::sValue, pszValue);
}

// Nothing beyond the name and the role: no description, help or shortcut.
HRESULT CAccessibleClient::get_accDescription(VARIANT varChild, BSTR* pszDescription)
{
    return GiveText(varChild, nullptr, pszDescription);
}

HRESULT CAccessibleClient::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    return GiveNumber(varChild, &tagTAccessibleInfo::lRole, pvarRole);
}

HRESULT CAccessibleClient::get_accState(VARIANT varChild, VARIANT* pvarState)
{
    return GiveNumber(varChild, &tagTAccessibleInfo::lStates, pvarState);
}

HRESULT CAccessibleClient::get_accHelp(VARIANT varChild, BSTR* pszHelp)
{
    return get_accDescription(varChild, pszHelp);
}

HRESULT CAccessibleClient::get_accHelpTopic(BSTR* pszHelpFile, VARIANT, long* pidTopic)
{
    if (pszHelpFile) {
        *pszHelpFile = nullptr;
    }
    if (pidTopic) {
        *pidTopic = 0;
    }
    const HRESULT hr = Connected();
    return FAILED(hr) ? hr : DISP_E_MEMBERNOTFOUND;
}

HRESULT CAccessibleClient::get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut)
{
    return get_accDescription(varChild, pszKeyboardShortcut);
}

HRESULT CAccessibleClient::get_accFocus(VARIANT* pvarChild)
{
    if (!pvarChild) {
        return E_POINTER;
    }
    VariantInit(pvarChild);
    if (const HRESULT hr = Connected(); FAILED(hr)) {
        return hr;
    }
    if (GetFocus() != m_pManager->GetPaintWindow()) {
        return S_FALSE;
    }
    const LONG id = m_pManager->GetFocus() ? m_pManager->GetAccessibleChildId(m_pManager->GetFocus()) : 0;
    SetI4(pvarChild, id > 0 ? id : CHILDID_SELF);
    return S_OK;
}

HRESULT CAccessibleClient::get_accSelection(VARIANT* pvarChildren)
{
    if (!pvarChildren) {
        return E_POINTER;
    }
    VariantInit(pvarChildren);
    const HRESULT hr = Connected();
    return FAILED(hr) ? hr : S_FALSE;
}

HRESULT CAccessibleClient::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    return GiveText(varChild, &tagTAccessibleInfo::sDefaultAction, pszDefaultAction);
}

HRESULT CAccessibleClient::accSelect(long flagsSelect, VARIANT varChild)
{
    CControlUI* control = nullptr;
    const HRESULT hr = Resolve(varChild, control);
    if (FAILED(hr)) {
        return hr;
    }
    if (flagsSelect != SELFLAG_TAKEFOCUS) {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (!control) {
        ::SetFocus(m_pManager->GetPaintWindow());
        return S_OK;
    }
    if (!(control->GetControlFlags() & FlagTabStop) || !control->IsEnabled()) {
        return DISP_E_MEMBERNOTFOUND;
    }
    m_pManager->SetFocus(control);
    return S_OK;
}

HRESULT CAccessibleClient::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild)
{
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight) {
        return E_POINTER;
    }
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    CControlUI* control = nullptr;
    const HRESULT hr = Resolve(varChild, control);
    if (FAILED(hr)) {
        return hr;
    }
    const HWND window = m_pManager->GetPaintWindow();
    RECT rc{};
    if (control) {
        rc = control->GetPos();
    } else {
        GetClientRect(window, &rc);
    }
    POINT topLeft{rc.left, rc.top};
    ClientToScreen(window, &topLeft);
    *pxLeft = topLeft.x;
    *pyTop = topLeft.y;
    *pcxWidth = rc.right - rc.left;
    *pcyHeight = rc.bottom - rc.top;
    return S_OK;
}

HRESULT CAccessibleClient::accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt)
{
    if (!pvarEndUpAt) {
        return E_POINTER;
    }
    VariantInit(pvarEndUpAt);
    CControlUI* control = nullptr;
    const HRESULT hr = Resolve(varStart, control);
    if (FAILED(hr)) {
        return hr;
    }
    std::vector<CControlUI*> elements;
    m_pManager->GetAccessibleElements(elements);
    const ptrdiff_t count = static_cast<ptrdiff_t>(elements.size());
    ptrdiff_t to = -1;
    switch (navDir) {
    case NAVDIR_FIRSTCHILD:
    case NAVDIR_LASTCHILD:
        if (control) {
            return E_INVALIDARG;
        }
        to = navDir == NAVDIR_FIRSTCHILD ? 0 : count - 1;
        break;
    case NAVDIR_NEXT:
    case NAVDIR_PREVIOUS: {
        // The client's siblings are the window's business.
        if (!control) {
            return S_FALSE;
        }
        const ptrdiff_t at = std::find(elements.begin(), elements.end(), control) - elements.begin();
        to = at + (navDir == NAVDIR_NEXT ? 1 : -1);
        break;
    }
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    if (to < 0 || to >= count) {
        return S_FALSE;
    }
    SetI4(pvarEndUpAt, m_pManager->AccessibleIdOf(elements[static_cast<size_t>(to)]));
    return S_OK;
}

HRESULT CAccessibleClient::accHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    if (!pvarChild) {
        return E_POINTER;
    }
    VariantInit(pvarChild);
    if (const HRESULT hr = Connected(); FAILED(hr)) {
        return hr;
    }
    const HWND window = m_pManager->GetPaintWindow();
    POINT pt{xLeft, yTop};
    ScreenToClient(window, &pt);
    RECT client{};
    GetClientRect(window, &client);
    if (!PtInRect(&client, pt)) {
        return S_FALSE;
    }
    // By the elements' own places, the last drawn first: the mouse's hit
    // test skips controls that take no mouse input, which a reader still sees.
    std::vector<CControlUI*> elements;
    m_pManager->GetAccessibleElements(elements);
    LONG id = CHILDID_SELF;
    for (auto it = elements.rbegin(); it != elements.rend() && id == CHILDID_SELF; ++it) {
        const RECT& place = (*it)->GetPos();
        if (PtInRect(&place, pt)) {
            id = m_pManager->AccessibleIdOf(*it);
        }
    }
    SetI4(pvarChild, id);
    return S_OK;
}

HRESULT CAccessibleClient::accDoDefaultAction(VARIANT varChild)
{
    CControlUI* control = nullptr;
    const HRESULT hr = Resolve(varChild, control);
    if (FAILED(hr)) {
        return hr;
    }
    tagTAccessibleInfo info;
    if (!control || !DescribeAccessible(*control, info) || info.sDefaultAction.IsEmpty()) {
        return DISP_E_MEMBERNOTFOUND;
    }
    // The action may close the window, which disconnects this object; the
    // reference keeps it alive until the call returns.
    AddRef();
    const bool activated = control->Activate();
    Release();
    // A disabled button does nothing, and says so.
    return activated ? S_OK : E_FAIL;
}

HRESULT CAccessibleClient::Next(ULONG celt, VARIANT* rgVar, ULONG* pCeltFetched)
{
    if (pCeltFetched) {
        *pCeltFetched = 0;
    }
    if (!rgVar || (celt > 1 && !pCeltFetched)) {
        return E_POINTER;
    }
    for (ULONG i = 0; i < celt; ++i) {
        VariantInit(&rgVar[i]);
    }
    if (const HRESULT hr = Connected(); FAILED(hr)) {
        return hr;
    }
    std::vector<CControlUI*> elements;
    m_pManager->GetAccessibleElements(elements);
    ULONG fetched = 0;
    for (; fetched < celt && m_enumAt < elements.size(); ++fetched, ++m_enumAt) {
        SetI4(&rgVar[fetched], m_pManager->AccessibleIdOf(elements[m_enumAt]));
    }
    if (pCeltFetched) {
        *pCeltFetched = fetched;
    }
    return fetched == celt ? S_OK : S_FALSE;
}

HRESULT CAccessibleClient::Skip(ULONG celt)
{
    if (const HRESULT hr = Connected(); FAILED(hr)) {
        return hr;
    }
    std::vector<CControlUI*> elements;
    m_pManager->GetAccessibleElements(elements);
    const size_t left = elements.size() > m_enumAt ? elements.size() - m_enumAt : 0;
    m_enumAt += std::min<size_t>(celt, left);
    return celt <= left ? S_OK : S_FALSE;
}

HRESULT CAccessibleClient::Reset()
{
    m_enumAt = 0;
    return S_OK;
}

HRESULT CAccessibleClient::Clone(IEnumVARIANT** ppEnum)
{
    if (ppEnum) {
        *ppEnum = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT CAccessibleClient::put_accName(VARIANT, BSTR)
{
    return E_NOTIMPL;
}

HRESULT CAccessibleClient::put_accValue(VARIANT, BSTR)
{
    return E_NOTIMPL;
}

} // namespace SkinUI
