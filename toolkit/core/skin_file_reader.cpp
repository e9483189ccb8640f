#include "skin_file_reader.h"

#include "paint_manager.h"
#include "resource_manager.h"
#include "skin_archive.h"
#include "skin_archive_open.h"

#include "base/unique_handle.h"

#include <cstring>
#include <memory>

namespace SkinUI {

namespace {

// Files are read into one buffer; nothing near this size is a skin file.
constexpr uint64_t kMaxReadable = 0x7FFFFFFFu;

SkinReadError ReadWholeFile(const wchar_t* path, uint32_t limit, CSkinBuffer& out)
{
    base::UniqueHandle file(
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return SkinReadError::OpenFile;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
        return SkinReadError::ReadFile;
    }
    if (size.QuadPart == 0) {
        return SkinReadError::Empty;
    }
    const auto bytes = static_cast<uint64_t>(size.QuadPart);
    if ((limit > 0 && bytes > limit) || bytes > kMaxReadable) {
        return SkinReadError::TooLarge;
    }
    if (!out.Allocate(static_cast<uint32_t>(bytes))) {
        return SkinReadError::ReadFile;
    }
    DWORD read = 0;
    if (!ReadFile(file.get(), out.GetData(), static_cast<DWORD>(bytes), &read, nullptr) || read != bytes) {
        out.Free();
        return SkinReadError::ReadFile;
    }
    return SkinReadError::None;
}

SkinReadError ReadFromArchive(const wchar_t* name, uint32_t limit, CSkinBuffer& out)
{
    std::unique_ptr<CSkinArchive> opened;
    CSkinArchive* archive = static_cast<CSkinArchive*>(CPaintManagerUI::GetResourceZipHandle());
    if (!CPaintManagerUI::IsCachedResourceZip()) {
        const CSkinString path = CPaintManagerUI::GetResourcePath() + CPaintManagerUI::GetResourceZip();
        opened.reset(OpenSkinArchiveFile(path, CPaintManagerUI::GetResourceZipPwd()));
        archive = opened.get();
    }
    if (!archive) {
        return SkinReadError::OpenZip;
    }
    // Archive entries use '/' between folders.
    CSkinString entry(name);
    entry.Replace(L"\\", L"/");
    uint64_t size = 0;
    if (archive->FindEntry(entry, size) != CSkinArchive::Result::Ok) {
        return SkinReadError::NotInZip;
    }
    if (size == 0) {
        return SkinReadError::Empty;
    }
    if ((limit > 0 && size > limit) || size > kMaxReadable) {
        return SkinReadError::TooLarge;
    }
    if (!out.Allocate(static_cast<uint32_t>(size)) ||
        archive->ExtractEntry(out.GetData(), size) != CSkinArchive::Result::Ok) {
        out.Free();
        return SkinReadError::Unzip;
    }
    return SkinReadError::None;
}

bool ReadModuleResource(const wchar_t* name, const wchar_t* type, HINSTANCE module, CSkinBuffer& out)
{
    if (!module) {
        module = CPaintManagerUI::GetResourceDll();
    }
    HRSRC resource = FindResourceW(module, name, type);
    if (!resource) {
        return false;
    }
    HGLOBAL loaded = LoadResource(module, resource);
    const DWORD size = SizeofResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data || size == 0 || !out.Allocate(size)) {
        return false;
    }
    memcpy(out.GetData(), data, size);
    return true;
}

} // namespace

const wchar_t* SkinReadErrorMessage(SkinReadError error)
{
    switch (error) {
    case SkinReadError::None:
        return L"";
    case SkinReadError::OpenFile:
        return L"Error opening file";
    case SkinReadError::Empty:
        return L"File is empty";
    case SkinReadError::TooLarge:
        return L"File too large";
    case SkinReadError::ReadFile:
        return L"Could not read file";
    case SkinReadError::OpenZip:
        return L"Error opening zip file";
    case SkinReadError::NotInZip:
        return L"Could not find ziped file";
    case SkinReadError::Unzip:
        return L"Could not unzip file";
    }
    return L"";
}

SkinReadError ReadSkinFile(const wchar_t* name, uint32_t limit, CSkinBuffer& out)
{
    out.Free();
    if (!name) {
        return SkinReadError::OpenFile;
    }
    if (CPaintManagerUI::GetResourceZip().IsEmpty()) {
        const CSkinString path = CPaintManagerUI::GetResourcePath() + name;
        return ReadWholeFile(path, limit, out);
    }
    return ReadFromArchive(name, limit, out);
}

bool ReadSkinImageBytes(const wchar_t* name, const wchar_t* type, HINSTANCE module, CSkinBuffer& out)
{
    out.Free();
    if (!name) {
        return false;
    }
    // A numeric identifier (MAKEINTRESOURCE) names only a typed resource;
    // it is no text and must not be read as one.
    if (IS_INTRESOURCE(name)) {
        return type && ReadModuleResource(name, type, module, out);
    }
    if (!*name) {
        return false;
    }
    CSkinString file(name);
    if (!type) {
        if (const wchar_t* mapped = CResourceManager::GetInstance()->GetImagePath(name)) {
            file = mapped;
        }
    }
    if (type) {
        ReadModuleResource(file, type, module, out);
    } else {
        ReadSkinFile(file, 0, out);
    }
    if (out.IsEmpty()) {
        ReadWholeFile(file, 0, out);
    }
    return !out.IsEmpty();
}

} // namespace SkinUI
