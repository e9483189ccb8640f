// The toolkit's XML reader for skin files. The whole document is converted to
// UTF-16 once and parsed in place: names, values and texts are cut out of the
// one buffer with terminators, and the element tree is an array of index
// records. CMarkupNode is a cursor into that tree.
#pragma once

#include <cstdint>

namespace SkinUI {

enum {
    XMLFILE_ENCODING_UTF8 = 0,
    XMLFILE_ENCODING_UNICODE = 1,
    XMLFILE_ENCODING_ANSI = 2,
};

// Offsets into the document text; index 0 means "none".
struct tagXMLELEMENT {
    uint32_t iStart;
    uint32_t iChild;
    uint32_t iNext;
    uint32_t iParent;
    uint32_t iData;
};

class CMarkup;

class CMarkupNode {
    friend class CMarkup;

public:
    enum { MAX_XML_ATTRIBUTES = 64 };

    CMarkupNode();

    bool IsValid() const { return m_pOwner != nullptr; }
    CMarkupNode GetParent() const;
    CMarkupNode GetSibling() const;
    CMarkupNode GetChild() const;
    // The first child whose name equals name, ignoring case.
    CMarkupNode GetChild(const wchar_t* name) const;
    bool HasSiblings() const;
    bool HasChildren() const;
    const wchar_t* GetName() const;
    const wchar_t* GetValue() const;

    bool HasAttributes() const;
    bool HasAttribute(const wchar_t* name) const;
    int GetAttributeCount() const;
    const wchar_t* GetAttributeName(int index) const;
    const wchar_t* GetAttributeValue(int index) const;
    const wchar_t* GetAttributeValue(const wchar_t* name) const;
    bool GetAttributeValue(int index, wchar_t* buffer, int size) const;
    bool GetAttributeValue(const wchar_t* name, wchar_t* buffer, int size) const;

private:
    CMarkupNode(CMarkup* owner, uint32_t pos);
    void MapAttributes() const;
    // Index of the first attribute called name (ignoring case), or -1.
    int FindAttribute(const wchar_t* name) const;

    struct XMLATTRIBUTE {
        uint32_t iName;
        uint32_t iValue;
    };

    uint32_t m_iPos;
    mutable int m_nAttributes;
    mutable XMLATTRIBUTE m_aAttributes[MAX_XML_ATTRIBUTES];
    CMarkup* m_pOwner;
};

class CMarkup {
    friend class CMarkupNode;

public:
    // Deeper nesting is refused rather than risking the stack.
    enum { MAX_NESTING_DEPTH = 1000 };

    explicit CMarkup(const wchar_t* xml = nullptr);
    CMarkup(const CMarkup&) = delete;
    CMarkup& operator=(const CMarkup&) = delete;
    ~CMarkup();

    bool Load(const wchar_t* xml);
    bool LoadFromMem(const unsigned char* bytes, uint32_t size, int encoding = XMLFILE_ENCODING_UTF8);
    // Reads the named skin file from the skin folder or the skin archive.
    // Defined beside the skin resource settings (toolkit/core, Windows).
    bool LoadFromFile(const wchar_t* name, int encoding = XMLFILE_ENCODING_UTF8);
    void Release();
    bool IsValid() const { return m_pElements != nullptr; }

    void SetPreserveWhitespace(bool preserve = true) { m_bPreserveWhitespace = preserve; }
    void GetLastErrorMessage(wchar_t* buffer, int size) const;
    void GetLastErrorLocation(wchar_t* buffer, int size) const;
    const wchar_t* GetLastErrorMessage() const { return m_szErrorMsg; }
    const wchar_t* GetLastErrorLocation() const { return m_szErrorXML; }

    CMarkupNode GetRoot();

    // Records a load failure (message and the text where it happened),
    // leaves the document empty and returns false.
    bool Fail(const wchar_t* message, const wchar_t* location = nullptr);

private:
    bool ParseDocument();
    bool ParseLevel(wchar_t*& text, uint32_t parent, int depth);
    bool ParseAttributes(wchar_t*& text);
    void ParseData(wchar_t*& text, wchar_t*& dest, wchar_t end);
    void ParseMetaChar(wchar_t*& text, wchar_t*& dest);
    int ReserveElement();
    void ClearError();

    wchar_t* m_pstrXML;
    tagXMLELEMENT* m_pElements;
    uint32_t m_nElements;
    uint32_t m_nReservedElements;
    wchar_t m_szErrorMsg[100];
    wchar_t m_szErrorXML[50];
    bool m_bPreserveWhitespace;
};

} // namespace SkinUI
