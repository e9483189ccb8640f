// The toolkit's wide string: short texts (up to 62 characters) live in an
// inline buffer, longer ones in a heap block of exactly length + 1 characters.
#pragma once

#include <cstdarg>

namespace SkinUI {

class CSkinString {
public:
    enum { kInlineCapacity = 64, kMaxInlineLength = 62 };

    CSkinString();
    CSkinString(wchar_t ch);
    CSkinString(const wchar_t* text, int length = -1);
    CSkinString(const CSkinString& other);
    ~CSkinString();

    const CSkinString& operator=(const CSkinString& other);
    const CSkinString& operator=(const wchar_t* text);
    const CSkinString& operator=(wchar_t ch);
    // 8-bit text in the system's ANSI code page.
    const CSkinString& operator=(const char* text);

    void Assign(const wchar_t* text, int length = -1);
    void Append(const wchar_t* text);

    const CSkinString& operator+=(const CSkinString& other);
    const CSkinString& operator+=(const wchar_t* text);
    const CSkinString& operator+=(wchar_t ch);
    const CSkinString& operator+=(const char* text);
    CSkinString operator+(const CSkinString& other) const;
    CSkinString operator+(const wchar_t* text) const;

    int GetLength() const;
    bool IsEmpty() const { return m_pstr[0] == L'\0'; }
    const wchar_t* GetData() const { return m_pstr; }
    operator const wchar_t*() const { return m_pstr; }
    wchar_t GetAt(int index) const { return m_pstr[index]; }
    wchar_t operator[](int index) const { return m_pstr[index]; }
    void SetAt(int index, wchar_t ch) { m_pstr[index] = ch; }
    void Empty();

    int Compare(const wchar_t* text) const;
    int CompareNoCase(const wchar_t* text) const;
    bool operator==(const wchar_t* text) const { return Compare(text) == 0; }
    bool operator!=(const wchar_t* text) const { return Compare(text) != 0; }
    bool operator<(const wchar_t* text) const { return Compare(text) < 0; }
    bool operator<=(const wchar_t* text) const { return Compare(text) <= 0; }
    bool operator>(const wchar_t* text) const { return Compare(text) > 0; }
    bool operator>=(const wchar_t* text) const { return Compare(text) >= 0; }

    void MakeUpper();
    void MakeLower();

    CSkinString Left(int length) const;
    CSkinString Mid(int pos, int length = -1) const;
    CSkinString Right(int length) const;

    int Find(wchar_t ch, int start = 0) const;
    int Find(const wchar_t* text, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    int Replace(const wchar_t* from, const wchar_t* to);

    int Format(const wchar_t* format, ...);
    int SmallFormat(const wchar_t* format, ...);
    int InnerFormat(const wchar_t* format, va_list args);

    // True while the text lives in the inline buffer (no heap block).
    bool IsInline() const { return m_pstr == m_szBuffer; }

private:
    void MoveInline();

    wchar_t* m_pstr;
    wchar_t m_szBuffer[kInlineCapacity];
};

} // namespace SkinUI
