#include <gtest/gtest.h>

#include <string>

#include "resume_validator.h"

namespace {

const wchar_t kDate[] = L"Tue, 01 Dec 2026 10:00:00 GMT";
const wchar_t kLater[] = L"Tue, 01 Dec 2026 11:00:00 GMT";

// The first answer's ETag and Last-Modified, and what a resume names in
// If-Range: a strong tag first, else a date old enough to name one version,
// never a weak tag; a value that could not stand in a header counts as none.
TEST(ResumeValidator, IfRangeNamesAStrongTagElseAnOldEnoughDate)
{
    const struct {
        const wchar_t* etag;
        const wchar_t* lastModified;
        bool dateIsStrong;
        const wchar_t* ifRange;
    } cases[] = {
        {L"\"a1b2\"", kDate, true, L"\"a1b2\""},
        {L"\"a1b2\"", L"", false, L"\"a1b2\""},
        {L"W/\"a1b2\"", kDate, true, kDate},
        {L"W/\"a1b2\"", L"", false, L""},
        {L"", kDate, true, kDate},
        {L"", kDate, false, L""}, // written within the last minute
        {L"", L"", false, L""},
        {L"a1b2", kDate, true, kDate},                // not quoted
        {L"\"a\"b\"", L"", false, L""},               // a quote inside
        {L"\"a b\"", L"", false, L""},                // a space inside
        {L"\"", L"", false, L""},                     // one quote
        {L"\"\"", L"", false, L"\"\""},               // empty, but a tag
        {L"\"a\r\nX-Injected: 1\"", L"", false, L""}, // a line break would add a header
        {L"", L"Tue, 01 Dec\r\nX-Injected: 1", true, L""},
        {L"\"\u00e9\"", L"", false, L""}, // not ASCII
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResumeValidator::Choose(c.etag, c.lastModified, c.dateIsStrong).IfRange(), c.ifRange)
            << "ETag [" << testing::PrintToString(std::wstring(c.etag)) << "] Last-Modified ["
            << testing::PrintToString(std::wstring(c.lastModified)) << "]";
    EXPECT_EQ(ResumeValidator::Choose(L"\"" + std::wstring(255, L'a') + L"\"", L"", false).IfRange(), L"")
        << "longer than any real tag";
}

// A 206 is the rest of the first answer's version only when every validator
// it names, weak or strong, is the first answer's; one that names none is
// taken only when the whole file is checked. A server that ignored If-Range
// and serves another version shows by its own.
TEST(ResumeValidator, APartialAnswerOfAnotherVersionDoesNotMatch)
{
    const ResumeValidator tag = ResumeValidator::Choose(L"\"v1\"", kDate, true);
    const ResumeValidator date = ResumeValidator::Choose(L"W/\"v1\"", kDate, true);
    const ResumeValidator none = ResumeValidator::Choose(L"", L"", false);
    const struct {
        const ResumeValidator& sent;
        const wchar_t* etag;
        const wchar_t* lastModified;
        bool checkedWhole;
        bool matches;
    } cases[] = {
        {tag, L"\"v1\"", L"", false, true},
        {tag, L"\"v1\"", kDate, false, true},
        {tag, L"\"v2\"", kDate, false, false},
        {tag, L"\"v1\"", kLater, false, false},
        {tag, L"W/\"v1\"", L"", false, false},
        {tag, L"", L"", false, false},
        {tag, L"", L"", true, true},
        {date, L"W/\"v1\"", kDate, false, true},
        {date, L"W/\"v2\"", kDate, false, false}, // replaced within the date's second
        {date, L"", kLater, false, false},
        {none, L"", L"", true, true},
        {none, L"\"v2\"", L"", true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.sent.Matches(c.etag, c.lastModified, c.checkedWhole), c.matches)
            << "sent [" << testing::PrintToString(c.sent.IfRange()) << "] got ETag ["
            << testing::PrintToString(std::wstring(c.etag)) << "] Last-Modified ["
            << testing::PrintToString(std::wstring(c.lastModified)) << "]" << (c.checkedWhole ? ", checked" : "");
}

} // namespace
