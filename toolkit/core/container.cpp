#include "container.h"

#include "attribute_table.h"
#include "paint_manager.h"
#include "render_clip.h"
#include "skin_geometry.h"
#include "skin_values.h"

namespace SkinUI {

namespace {

CControlUI* ChildAt(const CStdPtrArray& items, int index)
{
    return static_cast<CControlUI*>(items[index]);
}

// A container's children as a layout pass sees them.
class CLayoutChildren final : public ILayoutChildren {
public:
    explicit CLayoutChildren(CContainerUI& container) : m_container(container) {}

    int GetCount() const override;
    bool GetChild(int index, tagTLayoutChild& child) override;
    SIZE EstimateSize(int index, SIZE available) override;
    void SetPos(int index, const RECT& rc) override;
    void SetFloatPos(int index) override;

private:
    CContainerUI& m_container;
};

int CLayoutChildren::GetCount() const
{
    return m_container.GetCount();
}

bool CLayoutChildren::GetChild(int index, tagTLayoutChild& child)
{
    const CControlUI* control = m_container.GetItemAt(index);
    if (!control->IsVisible()) {
        return false;
    }
    child.floating = control->IsFloat();
    child.padding = control->GetPadding();
    child.fixed = SIZE{control->GetFixedWidth(), control->GetFixedHeight()};
    child.minSize = SIZE{control->GetMinWidth(), control->GetMinHeight()};
    child.maxSize = SIZE{control->GetMaxWidth(), control->GetMaxHeight()};
    return true;
}

SIZE CLayoutChildren::EstimateSize(int index, SIZE available)
{
    return m_container.GetItemAt(index)->EstimateSize(available);
}

void CLayoutChildren::SetPos(int index, const RECT& rc)
{
    m_container.GetItemAt(index)->SetPos(rc, false);
}

void CLayoutChildren::SetFloatPos(int index)
{
    m_container.SetFloatPos(index);
}

} // namespace

CContainerUI::CContainerUI() = default;

// Children go at once, not through delayed cleanup: nothing of the
// container is left to handle their events.
CContainerUI::~CContainerUI()
{
    m_bDelayedDestroy = false;
    RemoveAll();
}

CControlUI* CContainerUI::CreateControl()
{
    return new CContainerUI;
}

const wchar_t* CContainerUI::GetClass() const
{
    return L"ContainerUI";
}

void* CContainerUI::GetInterface(const wchar_t* pstrName)
{
    if (SkinCompareNoCase(pstrName, L"IContainer") == 0) {
        return static_cast<IContainerUI*>(this);
    }
    if (SkinCompareNoCase(pstrName, L"Container") == 0) {
        return this;
    }
    return CControlUI::GetInterface(pstrName);
}

CControlUI* CContainerUI::GetItemAt(int iIndex) const
{
    return iIndex >= 0 && iIndex < m_items.GetSize() ? ChildAt(m_items, iIndex) : nullptr;
}

int CContainerUI::GetItemIndex(CControlUI* pControl) const
{
    return m_items.Find(pControl);
}

bool CContainerUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    const int current = m_items.Find(pControl);
    if (current < 0 || iIndex < 0 || iIndex >= m_items.GetSize()) {
        return false;
    }
    NeedUpdate();
    m_items.Remove(current);
    return m_items.InsertAt(iIndex, pControl);
}

int CContainerUI::GetCount() const
{
    return m_items.GetSize();
}

bool CContainerUI::Add(CControlUI* pControl)
{
    return AddAt(pControl, m_items.GetSize());
}

bool CContainerUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (!pControl || iIndex < 0 || iIndex > m_items.GetSize()) {
        return false;
    }
    if (m_pManager) {
        m_pManager->InitControls(pControl, this);
    }
    if (IsVisible()) {
        NeedUpdate();
    } else {
        pControl->SetInternVisible(false);
    }
    return m_items.InsertAt(iIndex, pControl);
}

void CContainerUI::Discard(CControlUI* pControl)
{
    if (!m_bAutoDestroy) {
        return;
    }
    // While an event or a notification is delivered the control may be the
    // one it is about: it goes only once that has returned.
    if (m_pManager && (m_bDelayedDestroy || m_pManager->IsDelivering())) {
        m_pManager->AddDelayedCleanup(pControl);
    } else {
        delete pControl;
    }
}

bool CContainerUI::Remove(CControlUI* pControl)
{
    const int index = pControl ? m_items.Find(pControl) : -1;
    if (index < 0) {
        return false;
    }
    NeedUpdate();
    Discard(pControl);
    return m_items.Remove(index);
}

bool CContainerUI::RemoveAt(int iIndex)
{
    CControlUI* pControl = GetItemAt(iIndex);
    return pControl && Remove(pControl);
}

void CContainerUI::RemoveAll()
{
    for (int i = 0; i < m_items.GetSize(); ++i) {
        Discard(ChildAt(m_items, i));
    }
    m_items.Empty();
    NeedUpdate();
}

RECT CContainerUI::GetInset() const
{
    return Scaled(m_rcInset);
}

void CContainerUI::SetInset(RECT rcInset)
{
    m_rcInset = rcInset;
    NeedUpdate();
}

int CContainerUI::GetChildPadding() const
{
    return Scaled(m_iChildPadding);
}

void CContainerUI::SetChildPadding(int iPadding)
{
    m_iChildPadding = iPadding;
    NeedUpdate();
}

UINT CContainerUI::GetChildAlign() const
{
    return m_iChildAlign;
}

void CContainerUI::SetChildAlign(UINT iAlign)
{
    m_iChildAlign = iAlign;
    NeedUpdate();
}

UINT CContainerUI::GetChildVAlign() const
{
    return m_iChildVAlign;
}

void CContainerUI::SetChildVAlign(UINT iVAlign)
{
    m_iChildVAlign = iVAlign;
    NeedUpdate();
}

bool CContainerUI::IsAutoDestroy() const
{
    return m_bAutoDestroy;
}

void CContainerUI::SetAutoDestroy(bool bAuto)
{
    m_bAutoDestroy = bAuto;
}

bool CContainerUI::IsDelayedDestroy() const
{
    return m_bDelayedDestroy;
}

void CContainerUI::SetDelayedDestroy(bool bDelayed)
{
    m_bDelayedDestroy = bDelayed;
}

bool CContainerUI::IsMouseChildEnabled() const
{
    return m_bMouseChildEnabled;
}

void CContainerUI::SetMouseChildEnabled(bool bEnable)
{
    m_bMouseChildEnabled = bEnable;
}

void CContainerUI::SetScrollStepSize(int nSize)
{
    m_nScrollStepSize = nSize;
}

int CContainerUI::GetScrollStepSize() const
{
    return Scaled(m_nScrollStepSize);
}

void CContainerUI::SetFloatPos(int iIndex)
{
    CControlUI* child = GetItemAt(iIndex);
    if (!child || !child->IsVisible() || !child->IsFloat()) {
        return;
    }
    const SIZE size{child->GetFixedWidth(), child->GetFixedHeight()};
    child->SetPos(FloatChildRect(m_rcItem, child->GetFixedXY(), size, child->GetFloatAlign(), child->GetFloatPercent()),
                  false);
}

void CContainerUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    for (int i = 0; i < m_items.GetSize(); ++i) {
        ChildAt(m_items, i)->SetManager(pManager, this, bInit);
    }
    CControlUI::SetManager(pManager, pParent, bInit);
}

RECT CContainerUI::GetInsetRect() const
{
    return DeflatedRect(m_rcItem, GetInset());
}

RECT CContainerUI::GetClientPos() const
{
    return GetInsetRect();
}

void CContainerUI::SetPos(RECT rc, bool bNeedInvalidate)
{
    CControlUI::SetPos(rc, bNeedInvalidate);
    const RECT client = GetInsetRect();
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = ChildAt(m_items, i);
        if (!child->IsVisible()) {
            continue;
        }
        if (child->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        const SIZE minSize{child->GetMinWidth(), child->GetMinHeight()};
        const SIZE maxSize{child->GetMaxWidth(), child->GetMaxHeight()};
        child->SetPos(StackedChildRect(client, minSize, maxSize), false);
    }
}

void CContainerUI::LayOutChildren(SIZE (*layOut)(const tagTLinearLayout&, ILayoutChildren&))
{
    // The child padding is used as stored; only the inset is scaled.
    const tagTLinearLayout layout{GetInsetRect(), m_iChildPadding, m_iChildAlign, m_iChildVAlign};
    CLayoutChildren children(*this);
    const SIZE needed = layOut(layout, children);
    ProcessScrollBar(layout.rc, needed.cx, needed.cy);
}

void CContainerUI::Move(SIZE szOffset, bool bNeedInvalidate)
{
    CControlUI::Move(szOffset, bNeedInvalidate);
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = ChildAt(m_items, i);
        if (child->IsVisible()) {
            child->Move(szOffset, false);
        }
    }
}

void CContainerUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) {
        return;
    }
    CControlUI::SetVisible(bVisible);
    for (int i = 0; i < m_items.GetSize(); ++i) {
        ChildAt(m_items, i)->SetInternVisible(IsVisible());
    }
}

void CContainerUI::SetInternVisible(bool bVisible)
{
    CControlUI::SetInternVisible(bVisible);
    for (int i = 0; i < m_items.GetSize(); ++i) {
        ChildAt(m_items, i)->SetInternVisible(IsVisible());
    }
}

void CContainerUI::SetEnabled(bool bEnabled)
{
    if (m_bEnabled == bEnabled) {
        return;
    }
    m_bEnabled = bEnabled;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        ChildAt(m_items, i)->SetEnabled(bEnabled);
    }
    Invalidate();
}

CControlUI* CContainerUI::FindControl(FindControlProc Proc, void* pData, UINT uFlags)
{
    const bool hitTest = (uFlags & FindHitTest) != 0;
    const POINT* point = static_cast<const POINT*>(pData);
    if ((uFlags & FindVisible) && !IsVisible()) {
        return nullptr;
    }
    if ((uFlags & FindEnabled) && !IsEnabled()) {
        return nullptr;
    }
    if (hitTest && !PtInRect(&m_rcItem, *point)) {
        return nullptr;
    }
    // The container's own relayout covers its subtree.
    if ((uFlags & FindUpdateTest) && Proc(this, pData)) {
        return nullptr;
    }
    const bool testSelf = !hitTest || IsMouseEnabled();
    if ((uFlags & FindMeFirst) && testSelf) {
        if (CControlUI* found = Proc(this, pData)) {
            return found;
        }
    }
    if (!hitTest || m_bMouseChildEnabled) {
        const RECT client = GetInsetRect();
        const int count = m_items.GetSize();
        const bool topFirst = (uFlags & FindTopFirst) != 0;
        for (int n = 0; n < count; ++n) {
            CControlUI* found = ChildAt(m_items, topFirst ? count - 1 - n : n)->FindControl(Proc, pData, uFlags);
            if (found && (!hitTest || found->IsFloat() || PtInRect(&client, *point))) {
                return found;
            }
        }
    }
    if (!(uFlags & FindMeFirst) && testSelf) {
        return Proc(this, pData);
    }
    return nullptr;
}

void CContainerUI::DoEvent(tagTEventUI& event)
{
    if (PassMouseEventOn(event)) {
        return;
    }
    if (event.Type == EventSetFocus || event.Type == EventKillFocus) {
        m_bFocused = event.Type == EventSetFocus;
        return;
    }
    CControlUI::DoEvent(event);
}

void CContainerUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    using C = CContainerUI;
    // Scroll bars are not built; their attributes are taken and have no effect.
    static const TAttributeEntry<C> kAttributes[] = {
        {L"inset", [](C& c, const wchar_t* v) { c.SetInset(ReadSkinRect(v)); }},
        {L"mousechild", [](C& c, const wchar_t* v) { c.SetMouseChildEnabled(IsSkinTrue(v)); }},
        {L"vscrollbar", [](C&, const wchar_t*) {}},
        {L"vscrollbarstyle", [](C&, const wchar_t*) {}},
        {L"hscrollbar", [](C&, const wchar_t*) {}},
        {L"hscrollbarstyle", [](C&, const wchar_t*) {}},
        {L"childpadding", [](C& c, const wchar_t* v) { c.SetChildPadding(ReadSkinInt(v)); }},
        {L"childalign", [](C& c, const wchar_t* v) { ReadChildAlign(v, c.m_iChildAlign); }},
        {L"childvalign", [](C& c, const wchar_t* v) { ReadChildVAlign(v, c.m_iChildVAlign); }},
        {L"scrollstepsize", [](C& c, const wchar_t* v) { c.SetScrollStepSize(ReadSkinInt(v)); }},
    };
    if (pstrName && pstrValue && ApplyAttributeEntry(kAttributes, *this, pstrName, pstrValue)) {
        return;
    }
    CControlUI::SetAttribute(pstrName, pstrValue);
}

bool CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl)
{
    RECT area;
    if (!IntersectRect(&area, &rcPaint, &m_rcItem)) {
        return true;
    }
    CRenderClip clip;
    CRenderClip::GenerateClip(hDC, area, clip);
    CControlUI::DoPaint(hDC, rcPaint, pStopControl);
    if (m_items.IsEmpty()) {
        return true;
    }
    const RECT client = GetInsetRect();
    RECT inside;
    const bool paintInside = IntersectRect(&inside, &rcPaint, &client) != FALSE;
    CRenderClip childClip;
    if (paintInside) {
        CRenderClip::GenerateClip(hDC, inside, childClip);
    }
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = ChildAt(m_items, i);
        // Outside the client area only floating children are visited.
        if (!paintInside && !child->IsFloat()) {
            continue;
        }
        if (child == pStopControl) {
            return false;
        }
        if (!child->IsVisible() || !Meets(rcPaint, child->GetPos())) {
            continue;
        }
        if (child->IsFloat()) {
            // Floats may lie outside the client area: they get the
            // container's own clip.
            if (!Meets(m_rcItem, child->GetPos())) {
                continue;
            }
            if (paintInside) {
                CRenderClip::UseOldClipBegin(hDC, childClip);
            }
            const bool painted = child->Paint(hDC, rcPaint, pStopControl);
            if (paintInside) {
                CRenderClip::UseOldClipEnd(hDC, childClip);
            }
            if (!painted) {
                return false;
            }
        } else if (paintInside && Meets(client, child->GetPos()) && !child->Paint(hDC, rcPaint, pStopControl)) {
            return false;
        }
    }
    return true;
}

CControlUI* CContainerUI::FindSubControl(const wchar_t* pstrSubControlName)
{
    return m_pManager ? m_pManager->FindSubControlByName(this, pstrSubControlName) : nullptr;
}

bool CContainerUI::SetSubControlText(const wchar_t* pstrSubControlName, const wchar_t* pstrText)
{
    CControlUI* control = FindSubControl(pstrSubControlName);
    if (control) {
        control->SetText(pstrText);
    }
    return control != nullptr;
}

bool CContainerUI::SetSubControlFixedHeight(const wchar_t* pstrSubControlName, int cy)
{
    CControlUI* control = FindSubControl(pstrSubControlName);
    if (control) {
        control->SetFixedHeight(cy);
    }
    return control != nullptr;
}

bool CContainerUI::SetSubControlFixedWdith(const wchar_t* pstrSubControlName, int cx)
{
    CControlUI* control = FindSubControl(pstrSubControlName);
    if (control) {
        control->SetFixedWidth(cx);
    }
    return control != nullptr;
}

bool CContainerUI::SetSubControlUserData(const wchar_t* pstrSubControlName, const wchar_t* pstrText)
{
    CControlUI* control = FindSubControl(pstrSubControlName);
    if (control) {
        control->SetUserData(pstrText);
    }
    return control != nullptr;
}

CSkinString CContainerUI::GetSubControlText(const wchar_t* pstrSubControlName)
{
    CControlUI* control = FindSubControl(pstrSubControlName);
    return control ? control->GetText() : CSkinString();
}

int CContainerUI::GetSubControlFixedHeight(const wchar_t* pstrSubControlName)
{
    CControlUI* control = FindSubControl(pstrSubControlName);
    return control ? control->GetFixedHeight() : -1;
}

int CContainerUI::GetSubControlFixedWdith(const wchar_t* pstrSubControlName)
{
    CControlUI* control = FindSubControl(pstrSubControlName);
    return control ? control->GetFixedWidth() : -1;
}

CSkinString CContainerUI::GetSubControlUserData(const wchar_t* pstrSubControlName)
{
    CControlUI* control = FindSubControl(pstrSubControlName);
    return control ? control->GetUserData() : CSkinString();
}

} // namespace SkinUI
