#include "package_folder.h"

#include <windows.h>

#include <sddl.h>

#include <sodium.h>

#include <cstdint>
#include <vector>

#include "base/unique_handle.h"
#include "code_page.h"
#include "package_name.h"

namespace {

std::wstring TemporaryFolder()
{
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH)
        return std::wstring();
    return std::wstring(folder, length);
}

// The user's SID as text ("S-1-5-21-…"), or empty.
std::wstring UserSid()
{
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw))
        return std::wstring();
    base::UniqueHandle token(raw);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    wchar_t* text = nullptr;
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size) ||
        !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text))
        return std::wstring();
    std::wstring sid = text;
    LocalFree(text);
    return sid;
}

// Removes what is in `folder` (ending in "\\"), then the folder. A link
// inside is removed itself, never followed. False when something stayed.
bool RemoveTree(const std::wstring& folder, int depth)
{
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    bool removed = true;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + name;
            const DWORD attributes = found.dwFileAttributes;
            if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
                removed = DeleteFileW(path.c_str()) && removed;
            else if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) || depth == 0)
                removed = RemoveDirectoryW(path.c_str()) && removed;
            else
                removed = RemoveTree(path + L"\\", depth - 1) && removed;
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return removed && RemoveDirectoryW(folder.c_str());
}

} // namespace

SecurityDescriptor PackageFolderSecurity()
{
    const std::wstring user = UserSid();
    if (user.empty())
        return nullptr;
    // "P": protected, so that nothing is inherited from the temporary folder.
    const std::wstring sddl = L"D:P(A;OICI;FA;;;" + user + L")(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        return nullptr;
    return SecurityDescriptor(descriptor);
}

std::wstring NewPackagePath(const std::string& channel)
{
    const std::wstring temp = TemporaryFolder();
    const SecurityDescriptor descriptor = PackageFolderSecurity();
    if (temp.empty() || !descriptor)
        return std::wstring();
    SECURITY_ATTRIBUTES security = {sizeof security, descriptor.get(), FALSE};
    std::wstring path;
    // A name that exists already is someone else's: another one is drawn.
    for (int attempt = 0; attempt < 4 && path.empty(); ++attempt) {
        uint64_t random = 0;
        randombytes_buf(&random, sizeof random);
        const std::wstring folder = temp + PackageFolderName(random);
        if (CreateDirectoryW(folder.c_str(), &security))
            path = folder + L"\\" + PackageFileName(AnsiToWide(channel));
        else if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    return path;
}

void RemovePackage(const std::wstring& path)
{
    DeleteFileW(path.c_str());
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos)
        return;
    const std::wstring folder = path.substr(0, slash);
    const size_t parent = folder.find_last_of(L'\\');
    if (IsPackageFolderName(folder.substr(parent == std::wstring::npos ? 0 : parent + 1)))
        RemoveDirectoryW(folder.c_str());
}

void RemoveLeftPackageFolders()
{
    const std::wstring temp = TemporaryFolder();
    if (temp.empty())
        return;
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((temp + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsPackageFolderName(found.cFileName))
            continue;
        const std::wstring folder = temp + found.cFileName;
        // A link is removed, not followed; a folder whose installer still
        // runs keeps its file, and so itself.
        if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            RemoveDirectoryW(folder.c_str());
        else
            RemoveTree(folder + L"\\", 4);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}
