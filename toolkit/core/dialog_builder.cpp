#include "dialog_builder.h"

#include "container.h"
#include "control_factory.h"
#include "paint_manager.h"
#include "resource_manager.h"
#include "skin_text.h"
#include "skin_values.h"

#include <algorithm>
#include <vector>

namespace SkinUI {

namespace {

bool IsTag(const wchar_t* name, const wchar_t* tag)
{
    return SkinCompareNoCase(name, tag) == 0;
}

bool IsDeclaration(const wchar_t* name)
{
    return IsTag(name, L"Image") || IsTag(name, L"Font") || IsTag(name, L"Default") || IsTag(name, L"Style") ||
           IsTag(name, L"Import");
}

// The attribute's value, or null when the element does not have it.
const wchar_t* Attribute(const CMarkupNode& node, const wchar_t* name)
{
    return node.HasAttribute(name) ? node.GetAttributeValue(name) : nullptr;
}

bool HasText(const wchar_t* text)
{
    return text && *text;
}

bool AttributeIsTrue(const CMarkupNode& node, const wchar_t* name)
{
    return IsSkinTrue(Attribute(node, name));
}

BYTE ReadSkinByte(const wchar_t* text)
{
    return static_cast<BYTE>(std::clamp<LONG>(ReadSkinInt(text), 0, 255));
}

using PM = CPaintManagerUI;

struct tagTWindowAttribute {
    const wchar_t* name;
    // The few layered-window names are matched exactly.
    bool exactCase;
    void (*apply)(PM& pm, const wchar_t* value);
};

const tagTWindowAttribute kWindowAttributes[] = {
    // Only the initial size is written at 96 DPI here.
    {L"size", false,
     [](PM& pm, const wchar_t* v) {
         const SIZE size = pm.GetDPIObj()->Scale(ReadSkinSize(v));
         pm.SetInitSize(size.cx, size.cy);
     }},
    {L"sizebox", false, [](PM& pm, const wchar_t* v) { pm.SetSizeBox(ReadSkinRect(v)); }},
    {L"caption", false, [](PM& pm, const wchar_t* v) { pm.SetCaptionRect(ReadSkinRect(v)); }},
    {L"roundcorner", false,
     [](PM& pm, const wchar_t* v) {
         const SIZE size = ReadSkinSize(v);
         pm.SetRoundCorner(size.cx, size.cy);
     }},
    {L"mininfo", false,
     [](PM& pm, const wchar_t* v) {
         const SIZE size = ReadSkinSize(v);
         pm.SetMinInfo(size.cx, size.cy);
     }},
    {L"maxinfo", false,
     [](PM& pm, const wchar_t* v) {
         const SIZE size = ReadSkinSize(v);
         pm.SetMaxInfo(size.cx, size.cy);
     }},
    {L"showdirty", false, [](PM& pm, const wchar_t* v) { pm.SetShowUpdateRect(IsSkinTrue(v)); }},
    {L"opacity", false, [](PM& pm, const wchar_t* v) { pm.SetOpacity(ReadSkinByte(v)); }},
    {L"alpha", false, [](PM& pm, const wchar_t* v) { pm.SetOpacity(ReadSkinByte(v)); }},
    {L"layeredopacity", true, [](PM& pm, const wchar_t* v) { pm.SetLayeredOpacity(ReadSkinByte(v)); }},
    {L"layered", true, [](PM& pm, const wchar_t* v) { pm.SetLayered(IsSkinTrue(v)); }},
    {L"bktrans", true, [](PM& pm, const wchar_t* v) { pm.SetLayered(IsSkinTrue(v)); }},
    {L"layeredimage", true,
     [](PM& pm, const wchar_t* v) {
         pm.SetLayered(true);
         pm.SetLayeredImage(v);
     }},
    {L"noactivate", true, [](PM& pm, const wchar_t* v) { pm.SetNoActivate(IsSkinTrue(v)); }},
    {L"disabledfontcolor", false,
     [](PM& pm, const wchar_t* v) { pm.SetDefaultDisabledColor(ReadSkinHashColor(v), false); }},
    {L"defaultfontcolor", false, [](PM& pm, const wchar_t* v) { pm.SetDefaultFontColor(ReadSkinHashColor(v), false); }},
    {L"linkfontcolor", false,
     [](PM& pm, const wchar_t* v) { pm.SetDefaultLinkFontColor(ReadSkinHashColor(v), false); }},
    {L"linkhoverfontcolor", false,
     [](PM& pm, const wchar_t* v) { pm.SetDefaultLinkHoverFontColor(ReadSkinHashColor(v), false); }},
    {L"selectedcolor", false,
     [](PM& pm, const wchar_t* v) { pm.SetDefaultSelectedBkColor(ReadSkinHashColor(v), false); }},
    {L"shadowsize", false, [](PM& pm, const wchar_t* v) { pm.GetShadow().nSize = ReadSkinInt(v); }},
    {L"shadowsharpness", false, [](PM& pm, const wchar_t* v) { pm.GetShadow().nSharpness = ReadSkinInt(v); }},
    {L"shadowdarkness", false, [](PM& pm, const wchar_t* v) { pm.GetShadow().nDarkness = ReadSkinInt(v); }},
    {L"shadowposition", false, [](PM& pm, const wchar_t* v) { pm.GetShadow().szOffset = ReadSkinSize(v); }},
    {L"shadowcolor", false, [](PM& pm, const wchar_t* v) { pm.GetShadow().dwColor = ReadSkinHashColor(v); }},
    {L"shadowcorner", false, [](PM& pm, const wchar_t* v) { pm.GetShadow().rcCorner = ReadSkinRect(v); }},
    {L"shadowimage", false, [](PM& pm, const wchar_t* v) { pm.GetShadow().sImage = v; }},
    {L"showshadow", false, [](PM& pm, const wchar_t* v) { pm.GetShadow().bShow = IsSkinTrue(v); }},
    {L"gdiplustext", false, [](PM& pm, const wchar_t* v) { pm.SetUseGdiplusText(IsSkinTrue(v)); }},
    {L"textrenderinghint", false, [](PM& pm, const wchar_t* v) { pm.SetGdiplusTextRenderingHint(ReadSkinInt(v)); }},
    {L"tooltiphovertime", false, [](PM& pm, const wchar_t* v) { pm.SetHoverTime(ReadSkinInt(v)); }},
};

// Anything else ("defaulttextcolor", for one) is ignored.
void ApplyWindowAttributes(const CMarkupNode& root, CPaintManagerUI& pm)
{
    for (int i = 0; i < root.GetAttributeCount(); ++i) {
        const wchar_t* name = root.GetAttributeName(i);
        for (const tagTWindowAttribute& attribute : kWindowAttributes) {
            if (attribute.exactCase ? wcscmp(name, attribute.name) == 0 : IsTag(name, attribute.name)) {
                attribute.apply(pm, root.GetAttributeValue(i));
                break;
            }
        }
    }
}

// Include values are read as at most this many characters.
constexpr int kMaxIncludeValue = 499;

CSkinString IncludeValue(const CMarkupNode& node, const wchar_t* name)
{
    const wchar_t* value = Attribute(node, name);
    if (!value) {
        return CSkinString();
    }
    return CSkinString(value, static_cast<int>(std::min<size_t>(wcslen(value), kMaxIncludeValue)));
}

} // namespace

CControlUI* CDialogBuilder::Create(STRINGorID xml, const wchar_t* type, IDialogBuilderCallback* pCallback,
                                   CPaintManagerUI* pManager, CControlUI* pParent)
{
    if (xml.IsId()) {
        if (!LoadResourceLayout(xml.m_lpstr, type)) {
            return nullptr;
        }
    } else {
        const wchar_t* source = xml.m_lpstr;
        if (!source) {
            return nullptr;
        }
        if (*source != L'<') {
            if (const wchar_t* path = CResourceManager::GetInstance()->GetXmlPath(source)) {
                source = path;
            }
        }
        if (!(*source == L'<' ? m_xml.Load(source) : m_xml.LoadFromFile(source, XMLFILE_ENCODING_UTF8))) {
            return nullptr;
        }
    }
    return Create(pCallback, pManager, pParent);
}

bool CDialogBuilder::LoadResourceLayout(const wchar_t* id, const wchar_t* type)
{
    const HINSTANCE module = m_instance ? m_instance : CPaintManagerUI::GetResourceDll();
    HRSRC resource = FindResourceW(module, id, type);
    if (!resource) {
        return false;
    }
    HGLOBAL loaded = LoadResource(module, resource);
    const auto* bytes = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    if (!bytes || !m_xml.LoadFromMem(bytes, SizeofResource(module, resource), XMLFILE_ENCODING_UTF8)) {
        return false;
    }
    m_pstrtype = type;
    return true;
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* pCallback, CPaintManagerUI* pManager, CControlUI* pParent)
{
    m_pCallback = pCallback;
    CMarkupNode root = m_xml.GetRoot();
    if (!root.IsValid()) {
        return nullptr;
    }
    if (pManager) {
        RegisterDeclarations(root, pManager);
        // A layout built into a parent is no window's: its Window element
        // only holds the controls.
        if (IsTag(root.GetName(), L"Window") && pManager->GetPaintWindow() && !pParent) {
            ApplyWindowAttributes(root, *pManager);
        }
    }
    return _Parse(&root, pParent, pManager);
}

void CDialogBuilder::RegisterDeclarations(CMarkupNode& root, CPaintManagerUI* pManager)
{
    for (CMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        const wchar_t* tag = node.GetName();
        const bool shared = AttributeIsTrue(node, L"shared");
        if (IsTag(tag, L"Image")) {
            const wchar_t* name = Attribute(node, L"name");
            const wchar_t* type = Attribute(node, L"restype");
            if (HasText(name)) {
                pManager->AddImage(name, HasText(type) ? type : nullptr, ReadSkinHashColor(Attribute(node, L"mask")),
                                   false, shared, nullptr);
            }
        } else if (IsTag(tag, L"Font")) {
            const wchar_t* id = Attribute(node, L"id");
            const wchar_t* size = Attribute(node, L"size");
            const int fontId = id ? ReadSkinInt(id) : -1;
            // A font without a number is not registered, not even as the default.
            if (fontId < 0) {
                continue;
            }
            const wchar_t* face = Attribute(node, L"name");
            const int fontSize = size ? ReadSkinInt(size) : 12;
            const bool bold = AttributeIsTrue(node, L"bold");
            const bool underline = AttributeIsTrue(node, L"underline");
            const bool italic = AttributeIsTrue(node, L"italic");
            pManager->AddFont(fontId, face, fontSize, bold, underline, italic, shared);
            if (AttributeIsTrue(node, L"default")) {
                pManager->SetDefaultFont(face, fontSize, bold, underline, italic, shared);
            }
        } else if (IsTag(tag, L"Default") || IsTag(tag, L"Style")) {
            const wchar_t* name = Attribute(node, L"name");
            const wchar_t* value = Attribute(node, L"value");
            if (!HasText(name)) {
                continue;
            }
            if (IsTag(tag, L"Default")) {
                pManager->AddDefaultAttributeList(name, value ? value : L"", shared);
            } else {
                pManager->AddStyle(name, value ? value : L"", shared);
            }
        } else if (IsTag(tag, L"Import")) {
            const wchar_t* fontFile = Attribute(node, L"fontfile");
            if (HasText(fontFile)) {
                pManager->AddFontArray(fontFile);
            }
        }
    }
}

void CDialogBuilder::GetLastErrorMessage(wchar_t* pstrMessage, int cchMax) const
{
    m_xml.GetLastErrorMessage(pstrMessage, cchMax);
}

void CDialogBuilder::GetLastErrorLocation(wchar_t* pstrSource, int cchMax) const
{
    m_xml.GetLastErrorLocation(pstrSource, cchMax);
}

CControlUI* CDialogBuilder::CreateByTag(const wchar_t* tag)
{
    CSkinString className;
    className.Format(L"C%sUI", tag);
    if (CControlUI* control = CControlFactory::GetInstance()->CreateControl(className)) {
        return control;
    }
    // By index: a plug-in may load another one while it runs.
    const std::vector<CreateControlProc>& plugins = CPaintManagerUI::GetPlugins();
    for (size_t i = 0; i < plugins.size(); ++i) {
        if (CControlUI* control = plugins[i](tag)) {
            return control;
        }
    }
    return m_pCallback ? m_pCallback->CreateControl(tag) : nullptr;
}

void CDialogBuilder::Include(CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager)
{
    const CSkinString source = IncludeValue(node, L"source");
    if (source.IsEmpty() || m_includeDepth >= kMaxIncludeDepth) {
        return;
    }
    const int count = node.HasAttribute(L"count") ? ReadSkinInt(IncludeValue(node, L"count")) : 1;
    // Resource identifiers stop below 65536; anything else would be taken
    // for a pointer to text.
    const LONG id = ReadSkinInt(source);
    if (m_pstrtype && (id <= 0 || id > 0xFFFF)) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        // Nested includes multiply: one layout builds at most kMaxIncludes
        // of them in all, however the counts are set.
        if (*m_pIncludesLeft <= 0) {
            return;
        }
        --*m_pIncludesLeft;
        CDialogBuilder builder;
        builder.m_pIncludesLeft = m_pIncludesLeft;
        builder.m_includeDepth = m_includeDepth + 1;
        builder.SetInstance(m_instance);
        CControlUI* included = m_pstrtype
                                   ? builder.Create(static_cast<UINT>(id), m_pstrtype, m_pCallback, pManager, pParent)
                                   : builder.Create(source.GetData(), nullptr, m_pCallback, pManager, pParent);
        // Without a parent nothing would own what the include built.
        if (!pParent) {
            delete included;
        }
    }
}

CControlUI* CDialogBuilder::_Parse(CMarkupNode* pRoot, CControlUI* pParent, CPaintManagerUI* pManager)
{
    IContainerUI* pContainer = nullptr;
    CControlUI* pReturn = nullptr;
    for (CMarkupNode node = pRoot->GetChild(); node.IsValid(); node = node.GetSibling()) {
        const wchar_t* tag = node.GetName();
        if (IsDeclaration(tag)) {
            continue;
        }
        if (IsTag(tag, L"Include")) {
            Include(node, pParent, pManager);
            continue;
        }
        CControlUI* pControl = CreateByTag(tag);
        if (!pControl) {
            continue;
        }
        // Children are attached before their parent is, and before its
        // attributes are applied.
        if (node.HasChildren()) {
            _Parse(&node, pControl, pManager);
        }
        if (pParent && !pContainer) {
            pContainer = static_cast<IContainerUI*>(pParent->GetInterface(L"IContainer"));
            if (!pContainer) {
                delete pControl;
                return nullptr;
            }
        }
        // A parent already in a window initialises what it is given, so the
        // control joins it whole, its attributes applied, below.
        CPaintManagerUI* live = pParent ? pParent->GetManager() : nullptr;
        if (pContainer && !live && !pContainer->Add(pControl)) {
            delete pControl;
            continue;
        }
        if (pManager) {
            pControl->SetManager(pManager, nullptr, false);
            if (const wchar_t* defaults = pManager->GetDefaultAttributeList(tag)) {
                pControl->ApplyAttributeList(defaults);
            }
        }
        for (int i = 0; i < node.GetAttributeCount(); ++i) {
            pControl->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
        }
        // The manager is attached to the whole tree later (AttachDialog),
        // or here, by a parent in a window already: it joins that window's
        // manager at once, names and all.
        if (pManager) {
            pControl->SetManager(nullptr, nullptr, false);
        }
        if (live && !pContainer->Add(pControl)) {
            delete pControl;
            continue;
        }
        if (!pReturn) {
            pReturn = pControl;
        } else if (!pParent) {
            // A layout has one top-level control; nothing would own another.
            delete pControl;
        }
    }
    return pReturn;
}

} // namespace SkinUI
