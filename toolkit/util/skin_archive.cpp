#include "skin_archive.h"

#include "skin_file.h"
#include "skin_text.h"
#include "zip_crypto.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <minizip/unzip.h>
#include <new>
#include <zlib.h>

namespace SkinUI {

// The bytes minizip reads: a memory block, or an open file.
struct SkinArchiveStream {
    const unsigned char* data = nullptr;
    uint64_t size = 0;
    uint64_t pos = 0;
    FILE* file = nullptr;

    ~SkinArchiveStream()
    {
        if (file) {
            fclose(file);
        }
    }
};

namespace {

SkinArchiveStream* AsStream(voidpf stream)
{
    return static_cast<SkinArchiveStream*>(stream);
}

voidpf ZCALLBACK StreamOpen(voidpf opaque, const void*, int)
{
    return opaque;
}

uLong ZCALLBACK StreamRead(voidpf, voidpf stream, void* buffer, uLong size)
{
    SkinArchiveStream* s = AsStream(stream);
    if (s->file) {
        return static_cast<uLong>(fread(buffer, 1, size, s->file));
    }
    const uint64_t left = s->pos < s->size ? s->size - s->pos : 0;
    const uint64_t count = size < left ? size : left;
    memcpy(buffer, s->data + s->pos, static_cast<size_t>(count));
    s->pos += count;
    return static_cast<uLong>(count);
}

uLong ZCALLBACK StreamWrite(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

ZPOS64_T ZCALLBACK StreamTell(voidpf, voidpf stream)
{
    SkinArchiveStream* s = AsStream(stream);
    if (s->file) {
        const int64_t at = SkinTellFile(s->file);
        return at < 0 ? static_cast<ZPOS64_T>(-1) : static_cast<ZPOS64_T>(at);
    }
    return s->pos;
}

long ZCALLBACK StreamSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    SkinArchiveStream* s = AsStream(stream);
    if (s->file) {
        const int whence = origin == ZLIB_FILEFUNC_SEEK_SET   ? SEEK_SET
                           : origin == ZLIB_FILEFUNC_SEEK_CUR ? SEEK_CUR
                                                              : SEEK_END;
        return SkinSeekFile(s->file, static_cast<int64_t>(offset), whence) == 0 ? 0 : -1;
    }
    uint64_t base = 0;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
        base = 0;
        break;
    case ZLIB_FILEFUNC_SEEK_CUR:
        base = s->pos;
        break;
    case ZLIB_FILEFUNC_SEEK_END:
        base = s->size;
        break;
    default:
        return -1;
    }
    // Offsets arrive unsigned; from the end minizip passes small values only.
    if (offset > s->size || base > s->size - offset) {
        return -1;
    }
    s->pos = base + offset;
    return 0;
}

int ZCALLBACK StreamClose(voidpf, voidpf)
{
    return 0;
}

int ZCALLBACK StreamError(voidpf, voidpf stream)
{
    SkinArchiveStream* s = AsStream(stream);
    return s->file ? ferror(s->file) : 0;
}

// minizip as shipped cannot decrypt: read the raw entry, decrypt it here and
// inflate it with zlib.
CSkinArchive::Result ExtractEncrypted(unzFile handle, const unz_file_info64& info, const std::string& password,
                                      unsigned char* buffer, uint64_t size)
{
    if (password.empty() || info.compressed_size < CZipCryptoKeys::kHeaderSize || info.compressed_size > 0x7FFFFFFFu ||
        (info.compression_method != 0 && info.compression_method != Z_DEFLATED)) {
        return CSkinArchive::Result::Failed;
    }
    int method = 0;
    int level = 0;
    if (unzOpenCurrentFile2(handle, &method, &level, 1) != UNZ_OK) {
        return CSkinArchive::Result::Failed;
    }
    const auto rawSize = static_cast<size_t>(info.compressed_size);
    std::unique_ptr<unsigned char[]> raw(new (std::nothrow) unsigned char[rawSize]);
    const int read = raw ? unzReadCurrentFile(handle, raw.get(), static_cast<unsigned>(rawSize)) : -1;
    unzCloseCurrentFile(handle);
    if (read != static_cast<int>(rawSize)) {
        return CSkinArchive::Result::Failed;
    }

    CZipCryptoKeys keys(password.c_str());
    keys.Decrypt(raw.get(), rawSize);
    // The last header byte repeats the CRC's (or, with a data descriptor,
    // the time's) high byte: a cheap check of the password.
    const unsigned char check =
        (info.flag & 8u) ? static_cast<unsigned char>(info.dosDate >> 8) : static_cast<unsigned char>(info.crc >> 24);
    if (raw[CZipCryptoKeys::kHeaderSize - 1] != check) {
        return CSkinArchive::Result::Failed;
    }
    const unsigned char* data = raw.get() + CZipCryptoKeys::kHeaderSize;
    const size_t dataSize = rawSize - CZipCryptoKeys::kHeaderSize;

    if (info.compression_method == 0) {
        if (dataSize != size) {
            return CSkinArchive::Result::Failed;
        }
        memcpy(buffer, data, dataSize);
    } else {
        z_stream inflater{};
        if (inflateInit2(&inflater, -MAX_WBITS) != Z_OK) {
            return CSkinArchive::Result::Failed;
        }
        inflater.next_in = const_cast<unsigned char*>(data);
        inflater.avail_in = static_cast<uInt>(dataSize);
        inflater.next_out = buffer;
        inflater.avail_out = static_cast<uInt>(size);
        int status = inflate(&inflater, Z_FINISH);
        if (status == Z_BUF_ERROR && inflater.avail_out == 0 && size == 0) {
            status = Z_STREAM_END;
        }
        const bool complete = status == Z_STREAM_END && inflater.total_out == size;
        inflateEnd(&inflater);
        if (!complete) {
            return CSkinArchive::Result::Failed;
        }
    }
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), buffer, static_cast<uInt>(size));
    return crc == info.crc ? CSkinArchive::Result::Ok : CSkinArchive::Result::Failed;
}

} // namespace

CSkinArchive::CSkinArchive(SkinArchiveStream* stream, void* handle, const char* password)
    : m_stream(stream), m_handle(handle), m_password(password ? password : "")
{
}

CSkinArchive::~CSkinArchive()
{
    unzClose(static_cast<unzFile>(m_handle));
    delete m_stream;
}

CSkinArchive* CSkinArchive::Open(SkinArchiveStream* stream, const char* password)
{
    std::unique_ptr<SkinArchiveStream> owned(stream);
    zlib_filefunc64_def callbacks{};
    callbacks.zopen64_file = StreamOpen;
    callbacks.zread_file = StreamRead;
    callbacks.zwrite_file = StreamWrite;
    callbacks.ztell64_file = StreamTell;
    callbacks.zseek64_file = StreamSeek;
    callbacks.zclose_file = StreamClose;
    callbacks.zerror_file = StreamError;
    callbacks.opaque = stream;
    unzFile handle = unzOpen2_64(stream, &callbacks);
    if (!handle) {
        return nullptr;
    }
    return new CSkinArchive(owned.release(), handle, password);
}

CSkinArchive* CSkinArchive::OpenFile(const wchar_t* path, const char* password)
{
    FILE* file = path ? SkinOpenFileForRead(path) : nullptr;
    if (!file) {
        return nullptr;
    }
    auto* stream = new SkinArchiveStream;
    stream->file = file;
    return Open(stream, password);
}

CSkinArchive* CSkinArchive::OpenMemory(const void* data, uint64_t size, const char* password)
{
    if (!data || size == 0) {
        return nullptr;
    }
    auto* stream = new SkinArchiveStream;
    stream->data = static_cast<const unsigned char*>(data);
    stream->size = size;
    return Open(stream, password);
}

CSkinArchive::Result CSkinArchive::FindEntry(const wchar_t* name, uint64_t& size)
{
    size = 0;
    char utf8[260];
    if (!name || SkinEncodeText(SkinCodePage::Utf8, name, -1, utf8, sizeof(utf8)) <= 0) {
        return Result::NotFound;
    }
    // 2: compare names ignoring case.
    const int found = unzLocateFile(static_cast<unzFile>(m_handle), utf8, 2);
    if (found == UNZ_END_OF_LIST_OF_FILE) {
        return Result::NotFound;
    }
    unz_file_info64 info{};
    if (found != UNZ_OK ||
        unzGetCurrentFileInfo64(static_cast<unzFile>(m_handle), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
        return Result::Failed;
    }
    size = info.uncompressed_size;
    return Result::Ok;
}

CSkinArchive::Result CSkinArchive::ExtractEntry(void* buffer, uint64_t size)
{
    unzFile handle = static_cast<unzFile>(m_handle);
    unz_file_info64 info{};
    if (!buffer || unzGetCurrentFileInfo64(handle, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        info.uncompressed_size != size || size > 0x7FFFFFFFu) {
        return Result::Failed;
    }
    if (info.flag & 1u) {
        return ExtractEncrypted(handle, info, m_password, static_cast<unsigned char*>(buffer), size);
    }
    if (unzOpenCurrentFile(handle) != UNZ_OK) {
        return Result::Failed;
    }
    const int read = size > 0 ? unzReadCurrentFile(handle, buffer, static_cast<unsigned>(size)) : 0;
    // The entry must hold exactly the announced bytes; closing checks the CRC.
    unsigned char extra = 0;
    const bool whole = read == static_cast<int>(size) && unzReadCurrentFile(handle, &extra, 1) == 0;
    const int closed = unzCloseCurrentFile(handle);
    return whole && closed == UNZ_OK ? Result::Ok : Result::Failed;
}

} // namespace SkinUI
