// The accessible object of a window's client area, handed out for
// WM_GETOBJECT: IAccessible over the visible elements of the window's
// control tree (see accessible_info.h), and IEnumVARIANT over their child
// ids. The elements are simple elements: each keeps the child id the paint
// manager gave it until the control is deleted, and ids are resolved
// through the live tree at each call, so no id can reach a control that is
// gone or move to another one.
//
// A screen reader may keep the object after the window is destroyed: the
// paint manager disconnects it then, and every call fails from that point
// with CO_E_OBJNOTCONNECTED.
#pragma once

#include "accessible_info.h"

#include <oleacc.h>

namespace SkinUI {

class CControlUI;
class CPaintManagerUI;

class CAccessibleClient final : public IAccessible, public IEnumVARIANT {
public:
    // With one reference, the manager's; made on the window's thread, the
    // only one it answers on (the tree is not shared with other threads).
    explicit CAccessibleClient(CPaintManagerUI* manager);
    CAccessibleClient(const CAccessibleClient&) = delete;
    CAccessibleClient& operator=(const CAccessibleClient&) = delete;

    void Disconnect();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch: not offered (clients call IAccessible directly).
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** ppdispParent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* pcountChildren) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT varChild, BSTR* pszName) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT varChild, BSTR* pszValue) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT varChild, BSTR* pszHelp) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* pvarChild) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* pvarChildren) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flagsSelect, VARIANT varChild) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                          VARIANT varChild) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT varChild) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT varChild, BSTR szName) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT varChild, BSTR szValue) override;
    // IEnumVARIANT: the child ids in tree order, as AccessibleChildren asks.
    HRESULT STDMETHODCALLTYPE Next(ULONG celt, VARIANT* rgVar, ULONG* pCeltFetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** ppEnum) override;

private:
    ~CAccessibleClient() = default;

    // CO_E_OBJNOTCONNECTED once disconnected, RPC_E_WRONG_THREAD off the
    // window's thread, else S_OK.
    HRESULT Connected() const;
    // S_OK with control null for the client itself, S_OK with the element
    // for a child id, else the failure to return.
    HRESULT Resolve(const VARIANT& child, CControlUI*& control) const;
    // What child is (the client's own role, title and states for
    // CHILDID_SELF; unavailable added for a disabled control).
    HRESULT Describe(const VARIANT& child, tagTAccessibleInfo& info) const;
    // One of those as an out-parameter; a null text gives none.
    HRESULT GiveText(const VARIANT& child, CSkinString tagTAccessibleInfo::*text, BSTR* out) const;
    HRESULT GiveNumber(const VARIANT& child, LONG tagTAccessibleInfo::*number, VARIANT* out) const;
    // A string for a BSTR out-parameter: S_FALSE and null when empty.
    static HRESULT Give(const wchar_t* text, BSTR* out);

    LONG m_refs = 1;
    CPaintManagerUI* m_pManager;
    DWORD m_thread;
    size_t m_enumAt = 0;
};

} // namespace SkinUI
