#include "package_folder.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <sodium.h>

#include <cstdint>
#include <map>
#include <mutex>
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

// The user's SID (in a TOKEN_USER), or an empty buffer.
std::vector<BYTE> UserToken()
{
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw))
        return std::vector<BYTE>();
    base::UniqueHandle token(raw);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size))
        return std::vector<BYTE>();
    return buffer;
}

PSID UserSid(std::vector<BYTE>& token)
{
    return token.empty() ? nullptr : reinterpret_cast<TOKEN_USER*>(token.data())->User.Sid;
}

// The folder itself, never what a link at its name points to. Without
// delete sharing: while it is open nobody can remove, rename or replace it,
// nor open it to do so. A current folder is held the same way, so an
// installer running in it keeps it too.
base::UniqueHandle OpenFolder(const std::wstring& path, DWORD access)
{
    return base::UniqueHandle(CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                          nullptr));
}

// Removes the open folder (or link) when its handle closes; a folder that
// is not empty stays.
void RemoveOnClose(HANDLE folder)
{
    FILE_DISPOSITION_INFO disposition = {TRUE};
    SetFileInformationByHandle(folder, FileDispositionInfo, &disposition, sizeof disposition);
}

bool OwnedByUser(HANDLE folder)
{
    std::vector<BYTE> token = UserToken();
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!UserSid(token) || GetSecurityInfo(folder, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                                           nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    const bool mine = owner && EqualSid(owner, UserSid(token));
    LocalFree(descriptor);
    return mine;
}

// The folders this process made, held until their package goes. Never
// destroyed: a download may still run while the process ends.
struct HeldFolders {
    std::mutex mutex;
    std::map<std::wstring, HANDLE> handles;
};

HeldFolders& Held()
{
    static HeldFolders* held = new HeldFolders();
    return *held;
}

void RemoveLeftFolder(const std::wstring& folder)
{
    base::UniqueHandle handle = OpenFolder(folder, DELETE | FILE_LIST_DIRECTORY | READ_CONTROL);
    if (!handle)
        return; // held by a running updater or installer, or gone
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(handle.get(), &info))
        return;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        RemoveOnClose(handle.get());
        return;
    }
    if (!OwnedByUser(handle.get()))
        return;
    // Listed through the handle: the folder that was checked, and no second
    // open of it, which its missing delete sharing would refuse.
    bool emptied = true;
    std::vector<BYTE> buffer(16 * 1024);
    for (auto kind = FileFullDirectoryRestartInfo;; kind = FileFullDirectoryInfo) {
        if (!GetFileInformationByHandleEx(handle.get(), kind, buffer.data(), DWORD(buffer.size()))) {
            emptied = emptied && GetLastError() == ERROR_NO_MORE_FILES;
            break;
        }
        for (size_t offset = 0;;) {
            const auto* entry = reinterpret_cast<const FILE_FULL_DIR_INFO*>(buffer.data() + offset);
            const std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
            const std::wstring path = folder + L"\\" + name;
            const DWORD attributes = entry->FileAttributes;
            // Only the package lives here; a link goes as a link.
            if (name != L"." && name != L"..") {
                if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
                    emptied = (RemoveDirectoryW(path.c_str()) || DeleteFileW(path.c_str())) && emptied;
                else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
                    emptied = DeleteFileW(path.c_str()) && emptied;
                else
                    emptied = false;
            }
            if (entry->NextEntryOffset == 0)
                break;
            offset += entry->NextEntryOffset;
        }
    }
    if (emptied)
        RemoveOnClose(handle.get());
}

} // namespace

std::wstring NewPackagePath(const std::string& channel)
{
    const std::wstring temp = TemporaryFolder();
    std::vector<BYTE> token = UserToken();
    wchar_t* user = nullptr;
    if (temp.empty() || !UserSid(token) || !ConvertSidToStringSidW(UserSid(token), &user))
        return std::wstring();
    // Full access for the user, SYSTEM and the administrators, inherited by
    // the file; "P": nothing is taken from the temporary folder.
    const std::wstring sddl = L"D:P(A;OICI;FA;;;" + std::wstring(user) + L")(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
    LocalFree(user);
    SECURITY_ATTRIBUTES security = {sizeof security, nullptr, FALSE};
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                              &security.lpSecurityDescriptor, nullptr))
        return std::wstring();
    std::wstring path;
    // A name that exists already is someone else's: another one is drawn.
    for (int attempt = 0; attempt < 4 && path.empty(); ++attempt) {
        uint64_t random = 0;
        randombytes_buf(&random, sizeof random);
        const std::wstring folder = temp + PackageFolderName(random);
        if (CreateDirectoryW(folder.c_str(), &security)) {
            path = folder + L"\\" + PackageFileName(AnsiToWide(channel));
            // Not for deleting: the installer must still be able to make it
            // its current folder, which asks for no delete sharing either.
            if (base::UniqueHandle handle = OpenFolder(folder, FILE_LIST_DIRECTORY)) {
                std::lock_guard<std::mutex> lock(Held().mutex);
                Held().handles[folder] = handle.release();
            }
        } else if (GetLastError() != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    LocalFree(security.lpSecurityDescriptor);
    return path;
}

void RemovePackage(const std::wstring& path)
{
    DeleteFileW(path.c_str());
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos)
        return;
    const std::wstring folder = path.substr(0, slash);
    HANDLE held = nullptr;
    {
        std::lock_guard<std::mutex> lock(Held().mutex);
        const auto found = Held().handles.find(folder);
        if (found == Held().handles.end())
            return;
        held = found->second;
        Held().handles.erase(found);
    }
    CloseHandle(held);
    RemoveDirectoryW(folder.c_str());
}

void RemoveLeftPackageFolders()
{
    const std::wstring temp = TemporaryFolder();
    if (temp.empty())
        return;
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((temp + kPackageFolderPrefix + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        // A link to a folder may show as a file.
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
            IsPackageFolderName(found.cFileName))
            RemoveLeftFolder(temp + found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}
