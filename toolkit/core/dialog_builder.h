// Turns a layout document into a control tree for a paint manager: the
// document's declarations (fonts, images, default attribute lists, styles,
// font files) are registered with the manager, the attributes of a root
// "Window" element are applied to it, and every other element becomes a
// control, made by the control factory, a plug-in or the window's own
// callback. "Include" elements build further layout files in place.
#pragma once

#include "markup.h"
#include "string_or_id.h"

#include <windows.h>

namespace SkinUI {

class CControlUI;
class CPaintManagerUI;

// Lets a window create controls of its own classes by tag.
class IDialogBuilderCallback {
public:
    // Null for a tag the window does not know.
    virtual CControlUI* CreateControl(const wchar_t* pstrClass) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

// A builder serves one layout: build, attach the tree, then let it go.
class CDialogBuilder {
public:
    CDialogBuilder() = default;
    CDialogBuilder(const CDialogBuilder&) = delete;
    CDialogBuilder& operator=(const CDialogBuilder&) = delete;

    // xml: a resource identifier (a Windows resource of the given type, read
    // as UTF-8; includes are then resources of that type too), markup text
    // starting with '<', or a skin file name, first looked up as a layout
    // identifier of the resource manager. Null when nothing can be built;
    // a load failure leaves its reason in the document.
    CControlUI* Create(STRINGorID xml, const wchar_t* type = nullptr, IDialogBuilderCallback* pCallback = nullptr,
                       CPaintManagerUI* pManager = nullptr, CControlUI* pParent = nullptr);
    // Builds from the document already loaded and returns the first control
    // at the top level. With pParent every top-level control is added to
    // it; without, the caller owns the result and further top-level
    // controls are deleted.
    CControlUI* Create(IDialogBuilderCallback* pCallback = nullptr, CPaintManagerUI* pManager = nullptr,
                       CControlUI* pParent = nullptr);

    CMarkup* GetMarkup() { return &m_xml; }
    void GetLastErrorMessage(wchar_t* pstrMessage, int cchMax) const;
    void GetLastErrorLocation(wchar_t* pstrSource, int cchMax) const;
    // The module layout resources come from; null means the resource DLL.
    void SetInstance(HINSTANCE instance) { m_instance = instance; }

private:
    // Includes nest at most this deep, so that a file including itself,
    // or files including each other, end.
    enum { kMaxIncludeDepth = 8, kMaxIncludes = 1024 };

    CControlUI* _Parse(CMarkupNode* pRoot, CControlUI* pParent, CPaintManagerUI* pManager);
    bool LoadResourceLayout(const wchar_t* id, const wchar_t* type);
    void RegisterDeclarations(CMarkupNode& root, CPaintManagerUI* pManager);
    void Include(CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager);
    CControlUI* CreateByTag(const wchar_t* tag);

    CMarkup m_xml;
    IDialogBuilderCallback* m_pCallback = nullptr;
    // The resource type of a document read from the module's resources.
    const wchar_t* m_pstrtype = nullptr;
    HINSTANCE m_instance = nullptr;
    int m_includeDepth = 0;
    // Includes still allowed for the whole layout, shared with the builders
    // of its includes.
    int m_includesLeft = kMaxIncludes;
    int* m_pIncludesLeft = &m_includesLeft;
};

} // namespace SkinUI
