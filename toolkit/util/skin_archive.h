// Read access to a ZIP archive (the skin archive), on disk or in memory,
// with optional traditional PKWARE encryption. Entry names are UTF-16 and
// matched ignoring case.
#pragma once

#include <cstdint>
#include <string>

namespace SkinUI {

struct SkinArchiveStream;

class CSkinArchive {
public:
    enum class Result { Ok, NotFound, Failed };

    // Null when the archive cannot be opened. The password is ANSI text;
    // null or empty means none.
    static CSkinArchive* OpenFile(const wchar_t* path, const char* password);
    // The block must stay valid and unchanged while the archive is open.
    static CSkinArchive* OpenMemory(const void* data, uint64_t size, const char* password);

    CSkinArchive(const CSkinArchive&) = delete;
    CSkinArchive& operator=(const CSkinArchive&) = delete;
    ~CSkinArchive();

    // Makes the named entry current and reports its uncompressed size.
    Result FindEntry(const wchar_t* name, uint64_t& size);
    // Extracts the current entry whole into a buffer of exactly its size.
    Result ExtractEntry(void* buffer, uint64_t size);

private:
    CSkinArchive(SkinArchiveStream* stream, void* handle, const char* password);
    static CSkinArchive* Open(SkinArchiveStream* stream, const char* password);

    SkinArchiveStream* m_stream;
    void* m_handle;
    std::string m_password;
};

} // namespace SkinUI
