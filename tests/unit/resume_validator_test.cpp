#include <gtest/gtest.h>

#include <string>

#include "resume_validator.h"

namespace {

// The first answer's ETag and Last-Modified, and what a resume names in
// If-Range: a strong tag first, else the date, never a weak tag; a value
// that could not stand in a header counts as none.
TEST(ResumeValidator, IfRangeNamesAStrongTagElseTheDate)
{
    const wchar_t kDate[] = L"Tue, 01 Dec 2026 10:00:00 GMT";
    const struct {
        const wchar_t* etag;
        const wchar_t* lastModified;
        const wchar_t* ifRange;
    } cases[] = {
        {L"\"a1b2\"", kDate, L"\"a1b2\""},
        {L"\"a1b2\"", L"", L"\"a1b2\""},
        {L"W/\"a1b2\"", kDate, kDate},
        {L"W/\"a1b2\"", L"", L""},
        {L"", kDate, kDate},
        {L"", L"", L""},
        {L"a1b2", kDate, kDate},               // not quoted
        {L"\"a\"b\"", L"", L""},               // a quote inside
        {L"\"a b\"", L"", L""},                // a space inside
        {L"\"", L"", L""},                     // one quote
        {L"\"\"", L"", L"\"\""},               // empty, but a tag
        {L"\"a\r\nX-Injected: 1\"", L"", L""}, // a line break would add a header
        {L"", L"Tue, 01 Dec\r\nX-Injected: 1", L""},
        {L"\"\u00e9\"", L"", L""}, // not ASCII
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResumeValidator::Choose(c.etag, c.lastModified).IfRange(), c.ifRange)
            << "ETag [" << testing::PrintToString(std::wstring(c.etag)) << "] Last-Modified ["
            << testing::PrintToString(std::wstring(c.lastModified)) << "]";
    EXPECT_EQ(ResumeValidator::Choose(L"\"" + std::wstring(255, L'a') + L"\"", L"").IfRange(), L"")
        << "longer than any real tag";
}

// A 206 continues the same version when it names no validator of the kind
// sent, or the one sent: a server that ignored If-Range and serves another
// version shows by its own.
TEST(ResumeValidator, APartialAnswerOfAnotherVersionDoesNotMatch)
{
    const ResumeValidator tag = ResumeValidator::Choose(L"\"v1\"", L"Mon, 30 Nov 2026 10:00:00 GMT");
    const ResumeValidator date = ResumeValidator::Choose(L"W/\"v1\"", L"Mon, 30 Nov 2026 10:00:00 GMT");
    const ResumeValidator none = ResumeValidator::Choose(L"", L"");
    const struct {
        const ResumeValidator& sent;
        const wchar_t* etag;
        const wchar_t* lastModified;
        bool matches;
    } cases[] = {
        {tag, L"\"v1\"", L"", true},
        {tag, L"", L"", true},
        {tag, L"\"v2\"", L"Mon, 30 Nov 2026 10:00:00 GMT", false},
        {tag, L"W/\"v1\"", L"", false},
        {date, L"W/\"v2\"", L"Mon, 30 Nov 2026 10:00:00 GMT", true},
        {date, L"", L"Mon, 30 Nov 2026 11:00:00 GMT", false},
        {date, L"", L"", true},
        {none, L"\"v2\"", L"Mon, 30 Nov 2026 11:00:00 GMT", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.sent.Matches(c.etag, c.lastModified), c.matches)
            << "sent [" << testing::PrintToString(c.sent.IfRange()) << "] got ETag ["
            << testing::PrintToString(std::wstring(c.etag)) << "] Last-Modified ["
            << testing::PrintToString(std::wstring(c.lastModified)) << "]";
}

} // namespace
