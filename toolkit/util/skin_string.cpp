#include "skin_string.h"

#include "skin_text.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>

namespace SkinUI {

namespace {

const wchar_t* OrEmpty(const wchar_t* text)
{
    return text ? text : L"";
}

} // namespace

CSkinString::CSkinString() : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
}

CSkinString::CSkinString(wchar_t ch) : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = ch;
    m_szBuffer[1] = L'\0';
}

CSkinString::CSkinString(const wchar_t* text, int length) : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
    Assign(text, length);
}

CSkinString::CSkinString(const CSkinString& other) : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
    Assign(other.m_pstr);
}

CSkinString::~CSkinString()
{
    if (m_pstr != m_szBuffer) {
        free(m_pstr);
    }
}

int CSkinString::GetLength() const
{
    return static_cast<int>(wcslen(m_pstr));
}

void CSkinString::Empty()
{
    if (m_pstr != m_szBuffer) {
        free(m_pstr);
    }
    m_pstr = m_szBuffer;
    m_szBuffer[0] = L'\0';
}

void CSkinString::MoveInline()
{
    if (m_pstr == m_szBuffer) {
        return;
    }
    wcsncpy(m_szBuffer, m_pstr, kMaxInlineLength);
    m_szBuffer[kMaxInlineLength] = L'\0';
    free(m_pstr);
    m_pstr = m_szBuffer;
}

void CSkinString::Assign(const wchar_t* text, int length)
{
    text = OrEmpty(text);
    if (length < 0) {
        length = static_cast<int>(wcslen(text));
    }
    // A source inside our own storage would be freed or overwritten below.
    const auto begin = reinterpret_cast<uintptr_t>(m_pstr);
    const auto at = reinterpret_cast<uintptr_t>(text);
    if (at >= begin && at <= begin + static_cast<uintptr_t>(GetLength()) * sizeof(wchar_t)) {
        const CSkinString copy(text, length);
        Assign(copy.m_pstr, length);
        return;
    }
    if (length <= kMaxInlineLength) {
        if (m_pstr != m_szBuffer) {
            free(m_pstr);
            m_pstr = m_szBuffer;
        }
    } else if (m_pstr == m_szBuffer || GetLength() < length) {
        const size_t bytes = (static_cast<size_t>(length) + 1) * sizeof(wchar_t);
        m_pstr = static_cast<wchar_t*>(m_pstr == m_szBuffer ? malloc(bytes) : realloc(m_pstr, bytes));
    }
    wcsncpy(m_pstr, text, static_cast<size_t>(length));
    m_pstr[length] = L'\0';
}

void CSkinString::Append(const wchar_t* text)
{
    text = OrEmpty(text);
    const auto begin = reinterpret_cast<uintptr_t>(m_pstr);
    const auto at = reinterpret_cast<uintptr_t>(text);
    if (at >= begin && at <= begin + static_cast<uintptr_t>(GetLength()) * sizeof(wchar_t)) {
        const CSkinString copy(text);
        Append(copy.m_pstr);
        return;
    }
    const int newLength = GetLength() + static_cast<int>(wcslen(text));
    if (newLength > kMaxInlineLength) {
        const size_t bytes = (static_cast<size_t>(newLength) + 1) * sizeof(wchar_t);
        if (m_pstr == m_szBuffer) {
            m_pstr = static_cast<wchar_t*>(malloc(bytes));
            wcscpy(m_pstr, m_szBuffer);
        } else {
            m_pstr = static_cast<wchar_t*>(realloc(m_pstr, bytes));
        }
    } else {
        MoveInline();
    }
    wcscat(m_pstr, text);
}

const CSkinString& CSkinString::operator=(const CSkinString& other)
{
    Assign(other.m_pstr);
    return *this;
}

const CSkinString& CSkinString::operator=(const wchar_t* text)
{
    Assign(text);
    return *this;
}

const CSkinString& CSkinString::operator=(wchar_t ch)
{
    Empty();
    m_szBuffer[0] = ch;
    m_szBuffer[1] = L'\0';
    return *this;
}

namespace {

// Converts ANSI text into a malloc'd wide buffer of (bytes + 1) characters.
wchar_t* WidenAnsi(const char* text)
{
    const int bytes = static_cast<int>(strlen(text));
    auto* wide = static_cast<wchar_t*>(calloc(static_cast<size_t>(bytes) + 1, sizeof(wchar_t)));
    if (wide && bytes > 0) {
        const int n = SkinDecodeText(SkinCodePage::Ansi, text, bytes, wide, bytes);
        wide[n > 0 ? n : 0] = L'\0';
    }
    return wide;
}

} // namespace

const CSkinString& CSkinString::operator=(const char* text)
{
    if (!text) {
        Empty();
        return *this;
    }
    wchar_t* wide = WidenAnsi(text);
    Assign(wide);
    free(wide);
    return *this;
}

const CSkinString& CSkinString::operator+=(const CSkinString& other)
{
    Append(other.m_pstr);
    return *this;
}

const CSkinString& CSkinString::operator+=(const wchar_t* text)
{
    Append(text);
    return *this;
}

const CSkinString& CSkinString::operator+=(wchar_t ch)
{
    const wchar_t text[2] = {ch, L'\0'};
    Append(text);
    return *this;
}

const CSkinString& CSkinString::operator+=(const char* text)
{
    if (text) {
        wchar_t* wide = WidenAnsi(text);
        Append(wide);
        free(wide);
    }
    return *this;
}

CSkinString CSkinString::operator+(const CSkinString& other) const
{
    CSkinString result(*this);
    result.Append(other.m_pstr);
    return result;
}

CSkinString CSkinString::operator+(const wchar_t* text) const
{
    CSkinString result(*this);
    result.Append(text);
    return result;
}

int CSkinString::Compare(const wchar_t* text) const
{
    return wcscmp(m_pstr, OrEmpty(text));
}

int CSkinString::CompareNoCase(const wchar_t* text) const
{
    return SkinCompareNoCase(m_pstr, OrEmpty(text));
}

void CSkinString::MakeUpper()
{
    for (wchar_t* p = m_pstr; *p; ++p) {
        *p = static_cast<wchar_t>(towupper(static_cast<wint_t>(*p)));
    }
}

void CSkinString::MakeLower()
{
    for (wchar_t* p = m_pstr; *p; ++p) {
        *p = static_cast<wchar_t>(towlower(static_cast<wint_t>(*p)));
    }
}

CSkinString CSkinString::Left(int length) const
{
    const int total = GetLength();
    if (length < 0) {
        length = 0;
    }
    if (length > total) {
        length = total;
    }
    return CSkinString(m_pstr, length);
}

CSkinString CSkinString::Mid(int pos, int length) const
{
    const int total = GetLength();
    if (pos < 0) {
        pos = 0;
    }
    // Compared as a difference: pos + length may not fit in an int.
    if (length < 0 || length > total - pos) {
        length = total - pos;
    }
    if (length <= 0) {
        return CSkinString();
    }
    return CSkinString(m_pstr + pos, length);
}

CSkinString CSkinString::Right(int length) const
{
    const int total = GetLength();
    if (length <= 0) {
        return CSkinString();
    }
    const int start = total - length;
    if (start < 0) {
        return CSkinString(*this);
    }
    return CSkinString(m_pstr + start, length);
}

int CSkinString::Find(wchar_t ch, int start) const
{
    if (start != 0 && (start < 0 || start >= GetLength())) {
        return -1;
    }
    const wchar_t* hit = wcschr(m_pstr + start, ch);
    return hit ? static_cast<int>(hit - m_pstr) : -1;
}

int CSkinString::Find(const wchar_t* text, int start) const
{
    if (start != 0 && (start < 0 || start > GetLength())) {
        return -1;
    }
    const wchar_t* hit = wcsstr(m_pstr + start, OrEmpty(text));
    return hit ? static_cast<int>(hit - m_pstr) : -1;
}

int CSkinString::ReverseFind(wchar_t ch) const
{
    const wchar_t* hit = wcsrchr(m_pstr, ch);
    return hit ? static_cast<int>(hit - m_pstr) : -1;
}

int CSkinString::Replace(const wchar_t* from, const wchar_t* to)
{
    if (!from || !*from) {
        return 0;
    }
    if (Find(from, 0) < 0) {
        return 0;
    }
    // Either text may point into our own storage, which every step replaces.
    const CSkinString fromCopy(from);
    const CSkinString toCopy(OrEmpty(to));
    const int fromLength = fromCopy.GetLength();
    const int toLength = toCopy.GetLength();
    int count = 0;
    for (int pos = Find(fromCopy, 0); pos >= 0; pos = Find(fromCopy, pos + toLength)) {
        CSkinString rebuilt = Left(pos);
        rebuilt.Append(toCopy);
        rebuilt.Append(Mid(pos + fromLength));
        Assign(rebuilt.m_pstr);
        ++count;
    }
    return count;
}

int CSkinString::InnerFormat(const wchar_t* format, va_list args)
{
    va_list counting;
    va_copy(counting, args);
    const int length = SkinCountFormat(format, counting);
    va_end(counting);
    if (length < 0) {
        return -1;
    }
    auto* buffer = static_cast<wchar_t*>(calloc(static_cast<size_t>(length) + 1, sizeof(wchar_t)));
    if (!buffer) {
        return -1;
    }
    const int written = SkinFormatInto(buffer, length + 1, format, args);
    Assign(buffer);
    free(buffer);
    return written < 0 ? -1 : length;
}

int CSkinString::Format(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = InnerFormat(format, args);
    va_end(args);
    return result;
}

int CSkinString::SmallFormat(const wchar_t* format, ...)
{
    wchar_t buffer[kInlineCapacity] = {};
    va_list args;
    va_start(args, format);
    const int result = SkinFormatInto(buffer, kInlineCapacity, format, args);
    va_end(args);
    Assign(buffer);
    return result;
}

} // namespace SkinUI
