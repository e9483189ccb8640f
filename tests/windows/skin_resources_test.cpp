// Skin file lookup under the process-wide resource settings: folder, ZIP
// file on disk (cached or not, with or without password), and the ZIPRES
// archive linked into this test program.
#include "markup.h"
#include "paint_manager.h"
#include "resource_manager.h"
#include "skin_file_reader.h"
#include "zip_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <windows.h>

using namespace SkinUI;

namespace {

std::wstring Str(const wchar_t* text)
{
    return text ? std::wstring(text) : std::wstring(L"<null>");
}

class SkinResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Back to folder mode (this also lets a test install an in-memory archive).
        CPaintManagerUI::SetResourceZip(L"", true);
        wchar_t temp[MAX_PATH] = {};
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        dir = std::wstring(temp) + L"ferncastle-skin-test-" + std::to_wstring(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
        CPaintManagerUI::SetResourcePath(dir.c_str());
    }

    void TearDown() override
    {
        CPaintManagerUI::SetResourceZip(L"", true);
        CResourceManager::GetInstance()->Release();
        for (auto it = files.rbegin(); it != files.rend(); ++it) {
            DeleteFileW(it->c_str());
            RemoveDirectoryW(it->c_str());
        }
        RemoveDirectoryW(dir.c_str());
    }

    std::wstring Write(const std::wstring& name, const std::string& bytes)
    {
        const std::wstring path = dir + L"\\" + name;
        const size_t slash = name.rfind(L'\\');
        if (slash != std::wstring::npos) {
            const std::wstring sub = dir + L"\\" + name.substr(0, slash);
            CreateDirectoryW(sub.c_str(), nullptr);
            files.push_back(sub);
        }
        HANDLE file =
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        if (!bytes.empty()) {
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        }
        CloseHandle(file);
        files.push_back(path);
        return path;
    }

    std::wstring WriteZip(const std::wstring& name, const std::vector<ZipEntry>& entries)
    {
        const std::vector<unsigned char> zip = BuildZip(entries);
        return Write(name, std::string(zip.begin(), zip.end()));
    }

    // Loads a layout through the settings; the message on failure.
    std::wstring Load(const wchar_t* name)
    {
        CMarkup doc;
        if (doc.LoadFromFile(name)) {
            return L"ok:" + Str(doc.GetRoot().GetName());
        }
        return doc.GetLastErrorMessage();
    }

    std::string Image(const wchar_t* name, const wchar_t* type = nullptr)
    {
        CSkinBuffer bytes;
        if (!ReadSkinImageBytes(name, type, nullptr, bytes)) {
            return "<none>";
        }
        return std::string(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetSize());
    }

    // A layout of exactly size bytes.
    static std::string LayoutOfSize(size_t size)
    {
        std::string text = "<Window>";
        const std::string tail = "</Window>";
        text.append(size - text.size() - tail.size(), ' ');
        return text + tail;
    }

    std::wstring dir;
    std::vector<std::wstring> files;
};

} // namespace

TEST_F(SkinResources, ResourcePathGetsItsSeparator)
{
    CPaintManagerUI::SetResourcePath(L"C:\\skin");
    EXPECT_EQ(Str(CPaintManagerUI::GetResourcePath()), L"C:\\skin\\");
    CPaintManagerUI::SetResourcePath(L"C:/skin/");
    EXPECT_EQ(Str(CPaintManagerUI::GetResourcePath()), L"C:/skin/");
    CPaintManagerUI::SetResourcePath(L"");
    EXPECT_EQ(Str(CPaintManagerUI::GetResourcePath()), L"");
    CPaintManagerUI::SetResourcePath(nullptr);
    EXPECT_EQ(Str(CPaintManagerUI::GetResourcePath()), L"");
}

TEST_F(SkinResources, InstancePathIsTheModuleFolder)
{
    CPaintManagerUI::SetInstance(nullptr);
    EXPECT_EQ(Str(CPaintManagerUI::GetInstancePath()), L"");
    EXPECT_EQ(CPaintManagerUI::GetResourceDll(), nullptr);

    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring expected(module);
    expected.erase(expected.rfind(L'\\') + 1);
    EXPECT_EQ(Str(CPaintManagerUI::GetInstancePath()), expected);
    EXPECT_EQ(CPaintManagerUI::GetResourceDll(), GetModuleHandleW(nullptr)) << "falls back to the instance";
}

TEST_F(SkinResources, FolderModeMessages)
{
    Write(L"layout.xml", "<Window><Label/></Window>");
    Write(L"Common\\button.xml", "<Button/>");
    Write(L"empty.xml", "");
    Write(L"broken.xml", "<Window></Dialog>");
    EXPECT_EQ(Load(L"layout.xml"), L"ok:Window");
    EXPECT_EQ(Load(L"Common\\button.xml"), L"ok:Button");
    EXPECT_EQ(Load(L"missing.xml"), L"Error opening file");
    EXPECT_EQ(Load(L"empty.xml"), L"File is empty");
    EXPECT_EQ(Load(L"broken.xml"), L"Unmatched closing tag");
}

TEST_F(SkinResources, LayoutSizeLimitIsFourMebibytes)
{
    const std::string exact = LayoutOfSize(4194304);
    const std::string over = LayoutOfSize(4194305);
    Write(L"exact.xml", exact);
    Write(L"over.xml", over);
    EXPECT_EQ(Load(L"exact.xml"), L"ok:Window");
    EXPECT_EQ(Load(L"over.xml"), L"File too large");

    WriteZip(L"big.zip", {{"exact.xml", exact, true, ""}, {"over.xml", over, true, ""}});
    CPaintManagerUI::SetResourceZip(L"big.zip", true);
    EXPECT_EQ(Load(L"exact.xml"), L"ok:Window");
    EXPECT_EQ(Load(L"over.xml"), L"File too large");
    EXPECT_EQ(Image(L"over.xml").size(), over.size()) << "images have no size limit";
}

TEST_F(SkinResources, ArchiveOnDiskFindsEntriesByConvertedName)
{
    WriteZip(L"skin.zip", {{"MainFrameWnd.xml", "<Window/>", true, ""},
                           {"Common/Button.xml", "<Button/>", true, ""},
                           {"logo.png", "PNGBYTES", false, ""},
                           {"empty.xml", "", false, ""}});
    CPaintManagerUI::SetResourceZip(L"skin.zip", true);
    EXPECT_NE(CPaintManagerUI::GetResourceZipHandle(), nullptr);
    EXPECT_EQ(Load(L"MainFrameWnd.xml"), L"ok:Window");
    EXPECT_EQ(Load(L"Common\\Button.xml"), L"ok:Button") << "'\\' becomes '/'";
    EXPECT_EQ(Load(L"mainframewnd.XML"), L"ok:Window");
    EXPECT_EQ(Image(L"LOGO.PNG"), "PNGBYTES");
    EXPECT_EQ(Load(L"missing.xml"), L"Could not find ziped file");
    EXPECT_EQ(Load(L"empty.xml"), L"File is empty");
}

TEST_F(SkinResources, DamagedEntryCannotBeUnzipped)
{
    std::vector<unsigned char> zip = BuildZip({{"a.xml", "<Window/>", false, ""}});
    zip[30 + 5] = '{'; // the stored bytes no longer match their CRC
    Write(L"damaged.zip", std::string(zip.begin(), zip.end()));
    CPaintManagerUI::SetResourceZip(L"damaged.zip", true);
    EXPECT_EQ(Load(L"a.xml"), L"Could not unzip file");
}

TEST_F(SkinResources, SameNameAndCacheFlagDoNotReopen)
{
    WriteZip(L"skin.zip", {{"a.xml", "<A/>", true, ""}});
    CPaintManagerUI::SetResourceZip(L"skin.zip", true, L"first");
    const HANDLE handle = CPaintManagerUI::GetResourceZipHandle();
    ASSERT_NE(handle, nullptr);
    CPaintManagerUI::SetResourceZip(L"skin.zip", true, L"second");
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), handle);
    EXPECT_EQ(Str(CPaintManagerUI::GetResourceZipPwd()), L"first") << "nothing was stored";
}

TEST_F(SkinResources, UncachedArchiveIsOpenedForEachRead)
{
    const std::wstring path = WriteZip(L"skin.zip", {{"a.xml", "<A/>", true, ""}});
    CPaintManagerUI::SetResourceZip(L"skin.zip", false);
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr);
    EXPECT_EQ(Load(L"a.xml"), L"ok:A");
    ASSERT_TRUE(DeleteFileW(path.c_str())) << "closed after the read";
    EXPECT_EQ(Load(L"a.xml"), L"Error opening zip file");

    CPaintManagerUI::SetResourceZip(L"absent.zip", true);
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr) << "a failed open is silent";
    EXPECT_EQ(Load(L"a.xml"), L"Error opening zip file");
}

TEST_F(SkinResources, PasswordProtectedArchive)
{
    WriteZip(L"locked.zip", {{"MainFrameWnd.xml", "<Window/>", true, "s3cret"}, {"logo.png", "PNG", false, "s3cret"}});
    CPaintManagerUI::SetResourceZip(L"locked.zip", true, L"s3cret");
    EXPECT_EQ(Load(L"MainFrameWnd.xml"), L"ok:Window");
    EXPECT_EQ(Image(L"logo.png"), "PNG");

    CPaintManagerUI::SetResourceZip(L"locked.zip", false, L"wrong");
    EXPECT_EQ(Load(L"MainFrameWnd.xml"), L"Could not unzip file");
    EXPECT_EQ(Image(L"logo.png"), "<none>");
}

TEST_F(SkinResources, LinkedZipResourceHoldsTheSkin)
{
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(self, MAKEINTRESOURCEW(129), L"ZIPRES");
    ASSERT_NE(resource, nullptr);
    const DWORD size = SizeofResource(self, resource);
    const void* data = LockResource(LoadResource(self, resource));
    ASSERT_NE(data, nullptr);

    CPaintManagerUI::SetResourceZip(data, size);
    EXPECT_EQ(Str(CPaintManagerUI::GetResourceZip()), L"membuffer");
    EXPECT_TRUE(CPaintManagerUI::IsCachedResourceZip());
    const HANDLE handle = CPaintManagerUI::GetResourceZipHandle();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(Load(L"MainFrameWnd.xml"), L"ok:Window");
    EXPECT_EQ(Load(L"Font.xml"), L"ok:Window");
    EXPECT_EQ(Image(L"logo.png").substr(1, 3), "PNG");

    // A second in-memory archive changes nothing.
    const std::vector<unsigned char> other = BuildZip({{"MainFrameWnd.xml", "<Other/>", true, ""}});
    CPaintManagerUI::SetResourceZip(other.data(), static_cast<unsigned>(other.size()));
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), handle);
    EXPECT_EQ(Load(L"MainFrameWnd.xml"), L"ok:Window");

    CSkinBuffer raw;
    ASSERT_TRUE(ReadSkinImageBytes(L"#129", L"ZIPRES", nullptr, raw)) << "bytes of a typed resource";
    EXPECT_EQ(raw.GetSize(), size);
    ASSERT_TRUE(ReadSkinImageBytes(MAKEINTRESOURCEW(129), L"ZIPRES", nullptr, raw)) << "a numeric identifier";
    EXPECT_EQ(raw.GetSize(), size);
    EXPECT_FALSE(ReadSkinImageBytes(MAKEINTRESOURCEW(129), nullptr, nullptr, raw)) << "no type, no file by number";
}

TEST_F(SkinResources, ImageMissingFromTheArchiveIsReadFromItsPath)
{
    WriteZip(L"skin.zip", {{"a.xml", "<A/>", true, ""}});
    const std::wstring path = Write(L"outside.png", "OUTSIDE");
    CPaintManagerUI::SetResourceZip(L"skin.zip", true);
    EXPECT_EQ(Image(path.c_str()), "OUTSIDE");
    EXPECT_EQ(Image(L"nowhere.png"), "<none>");
    EXPECT_EQ(Image(L""), "<none>");
}

TEST_F(SkinResources, ResourceManagerMapsIdentifiers)
{
    Write(L"art.png", "ART");
    CResourceManager* manager = CResourceManager::GetInstance();
    ASSERT_TRUE(manager->LoadResource(L"<Res><Image id=\"logo\" path=\"art.png\"/><Image id=\"logo\" path=\"x.png\"/>"
                                      L"<Group><Xml id=\"main\" path=\"MainFrameWnd.xml\"/></Group>"
                                      L"<image id=\"lower\" path=\"l.png\"/><Image id=\"nopath\"/></Res>"));
    EXPECT_EQ(Str(manager->GetImagePath(L"logo")), L"art.png") << "the first path stays";
    EXPECT_EQ(Str(manager->GetXmlPath(L"main")), L"MainFrameWnd.xml") << "groups are walked";
    EXPECT_EQ(Str(manager->GetImagePath(L"lower")), L"l.png") << "tag names ignore case";
    EXPECT_EQ(manager->GetImagePath(L"nopath"), nullptr);
    EXPECT_EQ(manager->GetImagePath(L"LOGO"), nullptr) << "identifiers are case-sensitive";
    EXPECT_EQ(Image(L"logo"), "ART") << "image names go through the map";
    EXPECT_FALSE(manager->LoadResource(L"<Res><Image id='x'/></Res>"));
    EXPECT_FALSE(manager->LoadResource(L"missing-list.xml"));
    manager->ResetResourceMap();
    EXPECT_EQ(manager->GetImagePath(L"logo"), nullptr);
}

TEST_F(SkinResources, ResourceManagerTexts)
{
    struct Provider : IQueryControlText {
        const wchar_t* QueryControlText(const wchar_t* id, const wchar_t*) override
        {
            ++calls;
            answer = std::wstring(L"[") + id + L"]" + suffix;
            return std::wstring(id) == L"silent" ? nullptr : answer.c_str();
        }
        std::wstring answer;
        std::wstring suffix;
        int calls = 0;
    } provider;

    CResourceManager* manager = CResourceManager::GetInstance();
    ASSERT_TRUE(manager->LoadLanguage(L"<Lang><Text id=\"ok\" value=\"OK\"/><Text id=\"ok\" value=\"Okay\"/>"
                                      L"<Text id=\"cancel\" value=\"Cancel\"/></Lang>"));
    EXPECT_EQ(Str(manager->GetText(L"ok")), L"Okay") << "a later text replaces an earlier one";
    EXPECT_EQ(Str(manager->GetText(L"other")), L"other") << "without a provider, the id itself";
    EXPECT_EQ(Str(manager->GetText(nullptr)), L"");

    manager->SetTextQueryInterface(&provider);
    EXPECT_EQ(Str(manager->GetText(L"title")), L"[title]");
    EXPECT_EQ(Str(manager->GetText(L"title")), L"[title]");
    EXPECT_EQ(provider.calls, 1) << "answers are stored";
    EXPECT_EQ(Str(manager->GetText(L"silent")), L"");
    provider.suffix = L"!";
    manager->ReloadText();
    EXPECT_EQ(Str(manager->GetText(L"title")), L"[title]!");
    EXPECT_EQ(Str(manager->GetText(L"ok")), L"[ok]!");
    manager->SetTextQueryInterface(nullptr);
    manager->ResetTextMap();
    EXPECT_EQ(Str(manager->GetText(L"ok")), L"ok");
}

TEST_F(SkinResources, ResourceManagerReleaseForgetsEverything)
{
    struct Provider : IQueryControlText {
        const wchar_t* QueryControlText(const wchar_t*, const wchar_t*) override { return L"from provider"; }
    } provider;
    CResourceManager* manager = CResourceManager::GetInstance();
    ASSERT_TRUE(manager->LoadResource(L"<Res><Image id=\"logo\" path=\"art.png\"/></Res>"));
    ASSERT_TRUE(manager->LoadLanguage(L"<Lang><Text id=\"ok\" value=\"OK\"/></Lang>"));
    manager->SetLanguage(L"en");
    manager->SetTextQueryInterface(&provider);
    manager->Release();
    EXPECT_EQ(manager->GetImagePath(L"logo"), nullptr);
    EXPECT_EQ(Str(manager->GetLanguage()), L"");
    EXPECT_EQ(Str(manager->GetText(L"ok")), L"ok") << "no text left and no provider asked";
}

TEST_F(SkinResources, TermClosesTheCachedArchive)
{
    WriteZip(L"skin.zip", {{"a.xml", "<A/>", true, ""}});
    CPaintManagerUI::SetResourceZip(L"skin.zip", true);
    ASSERT_NE(CPaintManagerUI::GetResourceZipHandle(), nullptr);
    CPaintManagerUI::Term();
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr);
    EXPECT_EQ(Load(L"a.xml"), L"Error opening zip file");
}
