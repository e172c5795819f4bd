#include "backup/CopyVfs.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace backup {

namespace {

// The system layer writes at most 128 KB in one call.
constexpr int writeBufferBytes = 64 * 1024;

// How much of the shop one read of the system brings in: sixty-four pages of 4 KB.
constexpr int readWindowBytes = 256 * 1024;

// The file as the engine sees it, followed in the same memory by the system layer's own. The
// buffer holds the bytes of the file from `start` on: the pages waiting to be written, or the
// pages read ahead.
struct CopyFile {
    sqlite3_file base;
    sqlite3_file *real;
    char *buffer;  // null for the files beside the database (journals), passed through
    sqlite3_int64 start;
    int length;
};

sqlite3_vfs *systemVfs = nullptr;

CopyFile *own(sqlite3_file *file)
{
    return reinterpret_cast<CopyFile *>(file);
}

sqlite3_file *real(sqlite3_file *file)
{
    return own(file)->real;
}

// Calls passed on as they are, to either layer.

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

// The copy's file: pages written one after another reach the system in pieces of 64 KB. Every
// other call sees the file as written so far: what waits in the buffer goes first.
namespace writing {

int flush(sqlite3_file *file)
{
    CopyFile *f = own(file);
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
    CopyFile *f = own(file);
    if (f->length > 0 && (offset != f->start + f->length || f->length + amount > writeBufferBytes)) {
        if (const int code = flush(file); code != SQLITE_OK)
            return code;
    }
    if (!f->buffer || amount > writeBufferBytes)
        return f->real->pMethods->xWrite(f->real, data, amount, offset);
    if (f->length == 0)
        f->start = offset;
    std::memcpy(f->buffer + f->length, data, size_t(amount));
    f->length += amount;
    return SQLITE_OK;
}

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
int xLock(sqlite3_file *file, int level)
{
    return real(file)->pMethods->xLock(real(file), level);
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
int xShmLock(sqlite3_file *file, int offset, int count, int flags)
{
    return real(file)->pMethods->xShmLock(real(file), offset, count, flags);
}
int xFetch(sqlite3_file *file, sqlite3_int64 offset, int amount, void **page)
{
    const int code = flush(file);
    return code != SQLITE_OK ? code : real(file)->pMethods->xFetch(real(file), offset, amount, page);
}

}  // namespace writing

// The shop's file, read by the copy: the engine asks for one page after another, and the system
// is asked for sixty-four at a time. What was read ahead is only served within the locks it was
// read under: every change of lock, and every write, forgets it. While a reader holds its place in
// the journal, the pages it reads from the database file itself cannot change (the pages others
// change since are in the journal, and no checkpoint carries them over it), so the pages read
// ahead are the ones the engine would have read one by one.
namespace reading {

void forget(sqlite3_file *file)
{
    own(file)->length = 0;
}

int xClose(sqlite3_file *file)
{
    std::free(own(file)->buffer);
    return real(file)->pMethods->xClose(real(file));
}

int xRead(sqlite3_file *file, void *data, int amount, sqlite3_int64 offset)
{
    CopyFile *f = own(file);
    const auto held = [f, amount, offset] { return offset >= f->start && offset + amount <= f->start + f->length; };
    if (f->buffer && amount < readWindowBytes && !held()) {
        // Up to the file's end only: the system layer fills a short read with zeros without
        // saying how much it read. A window that cannot be read leaves the page to be read alone,
        // which then tells its own outcome.
        f->length = 0;
        sqlite3_int64 size = 0;
        if (f->real->pMethods->xFileSize(f->real, &size) == SQLITE_OK && offset + amount <= size) {
            const int window = int(std::min<sqlite3_int64>(readWindowBytes, size - offset));
            if (f->real->pMethods->xRead(f->real, f->buffer, window, offset) == SQLITE_OK) {
                f->start = offset;
                f->length = window;
            }
        }
    }
    if (f->buffer && held()) {
        std::memcpy(data, f->buffer + (offset - f->start), size_t(amount));
        return SQLITE_OK;
    }
    return f->real->pMethods->xRead(f->real, data, amount, offset);
}

int xWrite(sqlite3_file *file, const void *data, int amount, sqlite3_int64 offset)
{
    forget(file);
    return real(file)->pMethods->xWrite(real(file), data, amount, offset);
}
int xTruncate(sqlite3_file *file, sqlite3_int64 size)
{
    forget(file);
    return real(file)->pMethods->xTruncate(real(file), size);
}
int xSync(sqlite3_file *file, int flags)
{
    return real(file)->pMethods->xSync(real(file), flags);
}
int xFileSize(sqlite3_file *file, sqlite3_int64 *size)
{
    return real(file)->pMethods->xFileSize(real(file), size);
}
int xLock(sqlite3_file *file, int level)
{
    forget(file);
    return real(file)->pMethods->xLock(real(file), level);
}
int xUnlock(sqlite3_file *file, int level)
{
    forget(file);
    return real(file)->pMethods->xUnlock(real(file), level);
}
int xFileControl(sqlite3_file *file, int operation, void *argument)
{
    forget(file);
    return real(file)->pMethods->xFileControl(real(file), operation, argument);
}
int xShmMap(sqlite3_file *file, int region, int size, int extend, void volatile **mapped)
{
    return real(file)->pMethods->xShmMap(real(file), region, size, extend, mapped);
}
int xShmLock(sqlite3_file *file, int offset, int count, int flags)
{
    forget(file);
    return real(file)->pMethods->xShmLock(real(file), offset, count, flags);
}
int xFetch(sqlite3_file *file, sqlite3_int64 offset, int amount, void **page)
{
    return real(file)->pMethods->xFetch(real(file), offset, amount, page);
}

}  // namespace reading

struct Layer {
    sqlite3_vfs vfs;
    sqlite3_io_methods methods;
    int bufferBytes;
};

Layer writingLayer;
Layer readingLayer;

template <Layer &layer>
int xOpen(sqlite3_vfs *, const char *name, sqlite3_file *file, int flags, int *outFlags)
{
    CopyFile *f = own(file);
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
        f->buffer = static_cast<char *>(std::malloc(size_t(layer.bufferBytes)));
        if (!f->buffer) {
            f->real->pMethods->xClose(f->real);
            return SQLITE_NOMEM;
        }
    }
    file->pMethods = &layer.methods;
    return SQLITE_OK;
}

template <Layer &layer>
void registerLayer(const char *name, const sqlite3_io_methods &methods, int bufferBytes)
{
    layer.vfs = *systemVfs;
    layer.vfs.zName = name;
    layer.vfs.szOsFile = int(sizeof(CopyFile)) + systemVfs->szOsFile;
    layer.vfs.xOpen = &xOpen<layer>;
    layer.vfs.pNext = nullptr;
    layer.methods = methods;
    layer.bufferBytes = bufferBytes;
    sqlite3_vfs_register(&layer.vfs, 0);
}

void registerLayers()
{
    static std::once_flag registered;
    std::call_once(registered, [] {
        systemVfs = sqlite3_vfs_find(nullptr);
        registerLayer<writingLayer>(
            "vendrix-copy",
            {3, &writing::xClose, &writing::xRead, &writing::xWrite, &writing::xTruncate, &writing::xSync,
             &writing::xFileSize, &writing::xLock, &writing::xUnlock, &xCheckReservedLock, &writing::xFileControl,
             &xSectorSize, &xDeviceCharacteristics, &writing::xShmMap, &writing::xShmLock, &xShmBarrier, &xShmUnmap,
             &writing::xFetch, &xUnfetch},
            writeBufferBytes);
        registerLayer<readingLayer>(
            "vendrix-copy-source",
            {3, &reading::xClose, &reading::xRead, &reading::xWrite, &reading::xTruncate, &reading::xSync,
             &reading::xFileSize, &reading::xLock, &reading::xUnlock, &xCheckReservedLock, &reading::xFileControl,
             &xSectorSize, &xDeviceCharacteristics, &reading::xShmMap, &reading::xShmLock, &xShmBarrier, &xShmUnmap,
             &reading::xFetch, &xUnfetch},
            readWindowBytes);
    });
}

}  // namespace

const char *coalescingVfs()
{
    registerLayers();
    return writingLayer.vfs.zName;
}

const char *readAheadVfs()
{
    registerLayers();
    return readingLayer.vfs.zName;
}

}  // namespace backup
