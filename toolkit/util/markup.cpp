#include "markup.h"

#include "skin_text.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>

namespace SkinUI {

namespace {

bool IsSpace(wchar_t ch)
{
    return ch > L'\0' && ch <= L' ';
}

void SkipWhitespace(wchar_t*& p)
{
    while (IsSpace(*p)) {
        ++p;
    }
}

bool IsIdentifierChar(wchar_t ch)
{
    // ASCII first: skin names are ASCII, and iswalnum goes through the locale.
    if (ch < 0x80) {
        return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z') || (ch >= L'0' && ch <= L'9') || ch == L'_' ||
               ch == L':';
    }
    return iswalnum(static_cast<wint_t>(ch)) != 0;
}

void SkipIdentifier(wchar_t*& p)
{
    while (*p && IsIdentifierChar(*p)) {
        ++p;
    }
}

void CopyTruncated(wchar_t* target, int capacity, const wchar_t* source)
{
    wcsncpy(target, source ? source : L"", static_cast<size_t>(capacity - 1));
    target[capacity - 1] = L'\0';
}

} // namespace

CMarkup::CMarkup(const wchar_t* xml)
    : m_pstrXML(nullptr), m_pElements(nullptr), m_nElements(0), m_nReservedElements(0), m_szErrorMsg{}, m_szErrorXML{},
      m_bPreserveWhitespace(true)
{
    if (xml) {
        Load(xml);
    }
}

CMarkup::~CMarkup()
{
    Release();
}

void CMarkup::Release()
{
    free(m_pstrXML);
    free(m_pElements);
    m_pstrXML = nullptr;
    m_pElements = nullptr;
    m_nElements = 0;
    m_nReservedElements = 0;
}

void CMarkup::ClearError()
{
    m_szErrorMsg[0] = L'\0';
    m_szErrorXML[0] = L'\0';
}

bool CMarkup::Fail(const wchar_t* message, const wchar_t* location)
{
    CopyTruncated(m_szErrorMsg, 100, message);
    CopyTruncated(m_szErrorXML, 50, location);
    Release();
    return false;
}

void CMarkup::GetLastErrorMessage(wchar_t* buffer, int size) const
{
    if (buffer && size > 0) {
        wcsncpy(buffer, m_szErrorMsg, static_cast<size_t>(size));
    }
}

void CMarkup::GetLastErrorLocation(wchar_t* buffer, int size) const
{
    if (buffer && size > 0) {
        wcsncpy(buffer, m_szErrorXML, static_cast<size_t>(size));
    }
}

bool CMarkup::Load(const wchar_t* xml)
{
    Release();
    if (!xml) {
        return Fail(L"No document text");
    }
    const size_t length = wcslen(xml);
    m_pstrXML = static_cast<wchar_t*>(malloc((length + 1) * sizeof(wchar_t)));
    if (!m_pstrXML) {
        return Fail(L"Out of memory");
    }
    memcpy(m_pstrXML, xml, (length + 1) * sizeof(wchar_t));
    return ParseDocument();
}

bool CMarkup::LoadFromMem(const unsigned char* bytes, uint32_t size, int encoding)
{
    Release();
    if (!bytes && size > 0) {
        return Fail(L"No document text");
    }
    if (encoding == XMLFILE_ENCODING_UNICODE) {
        // UTF-16 needs its byte-order mark to tell the byte order.
        if (size < 2 || !((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
            return Fail(L"UTF-16 text without a byte-order mark");
        }
        const bool bigEndian = bytes[0] == 0xFE;
        const uint32_t units = size / 2 - 1;
        m_pstrXML = static_cast<wchar_t*>(malloc((static_cast<size_t>(units) + 1) * sizeof(wchar_t)));
        if (!m_pstrXML) {
            return Fail(L"Out of memory");
        }
        const unsigned char* unit = bytes + 2;
        for (uint32_t i = 0; i < units; ++i, unit += 2) {
            m_pstrXML[i] = static_cast<wchar_t>(bigEndian ? (unit[0] << 8) | unit[1] : unit[0] | (unit[1] << 8));
        }
        m_pstrXML[units] = L'\0';
    } else {
        SkinCodePage page = SkinCodePage::Ansi;
        if (encoding == XMLFILE_ENCODING_UTF8) {
            page = SkinCodePage::Utf8;
            if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
                bytes += 3;
                size -= 3;
            }
        }
        if (size > 0x7FFFFFFEu) {
            return Fail(L"Document too large");
        }
        // No encoding yields more UTF-16 units than bytes: one pass will do.
        m_pstrXML = static_cast<wchar_t*>(malloc((static_cast<size_t>(size) + 1) * sizeof(wchar_t)));
        if (!m_pstrXML) {
            return Fail(L"Out of memory");
        }
        const int length = size > 0 ? SkinDecodeText(page, reinterpret_cast<const char*>(bytes), static_cast<int>(size),
                                                     m_pstrXML, static_cast<int>(size))
                                    : 0;
        if (size > 0 && length <= 0) {
            return Fail(L"Could not convert the document text");
        }
        m_pstrXML[length] = L'\0';
    }
    return ParseDocument();
}

int CMarkup::ReserveElement()
{
    if (m_nElements >= m_nReservedElements) {
        const uint32_t reserved = m_nReservedElements + m_nReservedElements / 2 + 500;
        void* grown = realloc(m_pElements, static_cast<size_t>(reserved) * sizeof(tagXMLELEMENT));
        if (!grown) {
            return -1;
        }
        m_pElements = static_cast<tagXMLELEMENT*>(grown);
        m_nReservedElements = reserved;
    }
    m_pElements[m_nElements] = tagXMLELEMENT{};
    return static_cast<int>(m_nElements++);
}

bool CMarkup::ParseDocument()
{
    ClearError();
    if (ReserveElement() < 0) {
        return Fail(L"Out of memory");
    }
    wchar_t* text = m_pstrXML;
    if (!ParseLevel(text, 0, 0)) {
        Release();
        return false;
    }
    return true;
}

bool CMarkup::ParseLevel(wchar_t*& text, uint32_t parent, int depth)
{
    if (depth > MAX_NESTING_DEPTH) {
        return Fail(L"Elements nested too deeply", text);
    }
    uint32_t previous = 0;
    for (;;) {
        if (*text == L'\0' && parent <= 1) {
            return true;
        }
        SkipWhitespace(text);
        if (*text != L'<') {
            return Fail(L"Expected start tag", text);
        }
        if (text[1] == L'/') {
            return true;
        }
        *text++ = L'\0';
        SkipWhitespace(text);
        // Comments and processing instructions are skipped whole.
        if (*text == L'!' || *text == L'?') {
            const wchar_t close = *text == L'!' ? L'-' : L'?';
            while (*text && !(text[0] == close && text[1] == L'>')) {
                ++text;
            }
            if (*text) {
                text += 2;
            }
            SkipWhitespace(text);
            continue;
        }
        const int index = ReserveElement();
        if (index < 0) {
            return Fail(L"Out of memory", text);
        }
        const auto pos = static_cast<uint32_t>(index);
        m_pElements[pos].iStart = static_cast<uint32_t>(text - m_pstrXML);
        m_pElements[pos].iParent = parent;
        if (previous != 0) {
            m_pElements[previous].iNext = pos;
        } else if (parent > 0) {
            m_pElements[parent].iChild = pos;
        }
        previous = pos;

        const wchar_t* name = text;
        SkipIdentifier(text);
        wchar_t* nameEnd = text;
        if (*text == L'\0') {
            return Fail(L"Error parsing element name", text);
        }
        if (!ParseAttributes(text)) {
            return false;
        }
        SkipWhitespace(text);
        if (text[0] == L'/' && text[1] == L'>') {
            m_pElements[pos].iData = static_cast<uint32_t>(text - m_pstrXML);
            *text = L'\0';
            text += 2;
        } else {
            if (*text != L'>') {
                return Fail(L"Expected start-tag closing", text);
            }
            ++text;
            m_pElements[pos].iData = static_cast<uint32_t>(text - m_pstrXML);
            wchar_t* dest = text;
            ParseData(text, dest, L'<');
            if (*text == L'\0' && parent <= 1) {
                // The document may end inside the text of the root or of
                // one of its children: the name must still end.
                *dest = L'\0';
                *nameEnd = L'\0';
                return true;
            }
            if (*text != L'<') {
                return Fail(L"Expected end-tag start", text);
            }
            if (text[1] != L'/' && !ParseLevel(text, pos, depth + 1)) {
                return false;
            }
            const bool endTag = text[0] == L'<' && text[1] == L'/';
            // The element text ends where its first child or its end tag starts.
            *dest = L'\0';
            if (endTag) {
                *text = L'\0';
                text += 2;
                SkipWhitespace(text);
                const size_t nameLength = static_cast<size_t>(nameEnd - name);
                if (wcsncmp(text, name, nameLength) != 0) {
                    return Fail(L"Unmatched closing tag", text);
                }
                text += nameLength;
                SkipWhitespace(text);
                if (*text != L'>') {
                    return Fail(L"Unmatched closing tag", text);
                }
                ++text;
            }
        }
        *nameEnd = L'\0';
        SkipWhitespace(text);
    }
}

bool CMarkup::ParseAttributes(wchar_t*& text)
{
    if (*text == L'>' || (text[0] == L'/' && text[1] == L'>')) {
        return true;
    }
    *text++ = L'\0';
    SkipWhitespace(text);
    while (*text && *text != L'>' && *text != L'/') {
        SkipIdentifier(text);
        wchar_t* nameEnd = text;
        SkipWhitespace(text);
        if (*text != L'=') {
            return Fail(L"Error while parsing attributes", text);
        }
        *text++ = L' ';
        *nameEnd = L'\0';
        SkipWhitespace(text);
        if (*text != L'"') {
            return Fail(L"Expected attribute value", text);
        }
        ++text;
        wchar_t* dest = text;
        ParseData(text, dest, L'"');
        if (*text == L'\0') {
            return Fail(L"Error while parsing attribute string", text);
        }
        *dest = L'\0';
        if (dest != text) {
            *text = L' ';
        }
        ++text;
        SkipWhitespace(text);
    }
    return true;
}

void CMarkup::ParseData(wchar_t*& text, wchar_t*& dest, wchar_t end)
{
    while (*text && *text != end) {
        if (*text == L'&') {
            ++text;
            ParseMetaChar(text, dest);
        } else if (*text == L' ') {
            *dest++ = *text++;
            if (!m_bPreserveWhitespace) {
                SkipWhitespace(text);
            }
        } else {
            *dest++ = *text++;
        }
    }
    // What decoding freed up becomes blanks, so that attribute mapping can
    // walk over the transformed value.
    for (wchar_t* fill = dest; fill < text; ++fill) {
        *fill = L' ';
    }
}

void CMarkup::ParseMetaChar(wchar_t*& text, wchar_t*& dest)
{
    static const struct {
        const wchar_t* name;
        size_t length;
        wchar_t ch;
    } kEntities[] = {
        {L"amp;", 4, L'&'}, {L"lt;", 3, L'<'}, {L"gt;", 3, L'>'}, {L"quot;", 5, L'"'}, {L"apos;", 5, L'\''},
    };
    for (const auto& entity : kEntities) {
        if (wcsncmp(text, entity.name, entity.length) == 0) {
            *dest++ = entity.ch;
            text += entity.length;
            return;
        }
    }
    *dest++ = L'&';
}

CMarkupNode CMarkup::GetRoot()
{
    if (m_nElements <= 1) {
        return CMarkupNode();
    }
    return CMarkupNode(this, 1);
}

} // namespace SkinUI
