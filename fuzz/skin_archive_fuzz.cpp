// Opens arbitrary bytes as a skin archive held in memory and extracts the
// entries the updater's skin names, with and without a password.
#include "skin_archive.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const wchar_t* const names[] = {L"MainFrameWnd.xml", L"Font.xml", L"logo.png", L"a", L"Common/a.xml"};
    for (const char* password : {static_cast<const char*>(nullptr), "pw"}) {
        std::unique_ptr<SkinUI::CSkinArchive> archive(SkinUI::CSkinArchive::OpenMemory(data, size, password));
        if (!archive) {
            return 0;
        }
        for (const wchar_t* name : names) {
            uint64_t entrySize = 0;
            if (archive->FindEntry(name, entrySize) != SkinUI::CSkinArchive::Result::Ok || entrySize > (1u << 20)) {
                continue;
            }
            std::vector<unsigned char> buffer(static_cast<size_t>(entrySize) + 1);
            archive->ExtractEntry(buffer.data(), entrySize);
        }
    }
    return 0;
}
