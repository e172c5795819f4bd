#include "backup/CopyVfs.h"

#include <sqlite3.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace backup {

namespace {

// The system layer writes at most 128 KB in one call.
constexpr int bufferBytes = 64 * 1024;

// The file as the engine sees it, followed in the same memory by the system layer's own.
struct CoalescingFile {
    sqlite3_file base;
    sqlite3_file *real;
    char *buffer;  // null for the files beside the database (journals), written through
    sqlite3_int64 start;
    int length;
};

sqlite3_vfs *systemVfs = nullptr;
sqlite3_vfs vfs;
sqlite3_io_methods methods;

CoalescingFile *own(sqlite3_file *file)
{
    return reinterpret_cast<CoalescingFile *>(file);
}

sqlite3_file *real(sqlite3_file *file)
{
    return own(file)->real;
}

int flush(sqlite3_file *file)
{
    CoalescingFile *f = own(file);
    if (f->length == 0)
        return SQLITE_OK;
    const int code = f->real->pMethods->xWrite(f->real, f->buffer, f->length, f->start);
    f->length = 0;
    return code;
}

int xClose(sqlite3_file *file)
{
    const int flushed = flush(file);
    std::free(own(file)->buffer);
    const int closed = real(file)->pMethods->xClose(real(file));
    return flushed != SQLITE_OK ? flushed : closed;
}

int xWrite(sqlite3_file *file, const void *data, int amount, sqlite3_int64 offset)
{
    CoalescingFile *f = own(file);
    if (f->length > 0 && (offset != f->start + f->length || f->length + amount > bufferBytes)) {
        if (const int code = flush(file); code != SQLITE_OK)
            return code;
    }
    if (!f->buffer || amount > bufferBytes)
        return f->real->pMethods->xWrite(f->real, data, amount, offset);
    if (f->length == 0)
        f->start = offset;
    std::memcpy(f->buffer + f->length, data, size_t(amount));
    f->length += amount;
    return SQLITE_OK;
}

// Everything else sees the file as written so far: what waits in the buffer goes first.
int xRead(sqlite3_file *file, void *data, int amount, sqlite3_int64 offset)
{
    const int code = flush(file);
    return code != SQLITE_OK ? code : real(file)->pMethods->xRead(real(file), data, amount, offset);
}
int xTruncate(sqlite3_file *file, sqlite3_int64 size)
{
    const int code = flush(file);
    return code != SQLITE_OK ? code : real(file)->pMethods->xTruncate(real(file), size);
}
int xSync(sqlite3_file *file, int flags)
{
    const int code = flush(file);
    return code != SQLITE_OK ? code : real(file)->pMethods->xSync(real(file), flags);
}
int xFileSize(sqlite3_file *file, sqlite3_int64 *size)
{
    const int code = flush(file);
    return code != SQLITE_OK ? code : real(file)->pMethods->xFileSize(real(file), size);
}
int xUnlock(sqlite3_file *file, int level)
{
    const int code = flush(file);
    return code != SQLITE_OK ? code : real(file)->pMethods->xUnlock(real(file), level);
}
int xFileControl(sqlite3_file *file, int operation, void *argument)
{
    const int code = flush(file);
    return code != SQLITE_OK ? code : real(file)->pMethods->xFileControl(real(file), operation, argument);
}
int xShmMap(sqlite3_file *file, int region, int size, int extend, void volatile **mapped)
{
    const int code = flush(file);
    return code != SQLITE_OK ? code : real(file)->pMethods->xShmMap(real(file), region, size, extend, mapped);
}
int xFetch(sqlite3_file *file, sqlite3_int64 offset, int amount, void **page)
{
    const int code = flush(file);
    return code != SQLITE_OK ? code : real(file)->pMethods->xFetch(real(file), offset, amount, page);
}

int xLock(sqlite3_file *file, int level)
{
    return real(file)->pMethods->xLock(real(file), level);
}
int xCheckReservedLock(sqlite3_file *file, int *reserved)
{
    return real(file)->pMethods->xCheckReservedLock(real(file), reserved);
}
int xSectorSize(sqlite3_file *file)
{
    return real(file)->pMethods->xSectorSize(real(file));
}
int xDeviceCharacteristics(sqlite3_file *file)
{
    return real(file)->pMethods->xDeviceCharacteristics(real(file));
}
int xShmLock(sqlite3_file *file, int offset, int count, int flags)
{
    return real(file)->pMethods->xShmLock(real(file), offset, count, flags);
}
void xShmBarrier(sqlite3_file *file)
{
    real(file)->pMethods->xShmBarrier(real(file));
}
int xShmUnmap(sqlite3_file *file, int deleteFlag)
{
    return real(file)->pMethods->xShmUnmap(real(file), deleteFlag);
}
int xUnfetch(sqlite3_file *file, sqlite3_int64 offset, void *page)
{
    return real(file)->pMethods->xUnfetch(real(file), offset, page);
}

int xOpen(sqlite3_vfs *, const char *name, sqlite3_file *file, int flags, int *outFlags)
{
    CoalescingFile *f = own(file);
    f->real = reinterpret_cast<sqlite3_file *>(f + 1);
    f->buffer = nullptr;
    f->length = 0;
    f->start = 0;
    file->pMethods = nullptr;
    if (const int code = systemVfs->xOpen(systemVfs, name, f->real, flags, outFlags); code != SQLITE_OK)
        return code;
    if (f->real->pMethods->iVersion < 3) {
        // A system layer without the calls passed on here cannot serve the copy.
        f->real->pMethods->xClose(f->real);
        return SQLITE_CANTOPEN;
    }
    if (flags & SQLITE_OPEN_MAIN_DB) {
        f->buffer = static_cast<char *>(std::malloc(bufferBytes));
        if (!f->buffer) {
            f->real->pMethods->xClose(f->real);
            return SQLITE_NOMEM;
        }
    }
    file->pMethods = &methods;
    return SQLITE_OK;
}

}  // namespace

const char *coalescingVfs()
{
    static std::once_flag registered;
    std::call_once(registered, [] {
        systemVfs = sqlite3_vfs_find(nullptr);
        vfs = *systemVfs;
        vfs.zName = "vendrix-copy";
        vfs.szOsFile = int(sizeof(CoalescingFile)) + systemVfs->szOsFile;
        vfs.xOpen = &xOpen;
        vfs.pNext = nullptr;
        methods = {3,         &xClose,          &xRead,       &xWrite,
                   &xTruncate, &xSync,          &xFileSize,   &xLock,
                   &xUnlock,   &xCheckReservedLock, &xFileControl, &xSectorSize,
                   &xDeviceCharacteristics, &xShmMap, &xShmLock, &xShmBarrier,
                   &xShmUnmap, &xFetch,          &xUnfetch};
        sqlite3_vfs_register(&vfs, 0);
    });
    return vfs.zName;
}

}  // namespace backup
