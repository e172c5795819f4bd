#pragma once

#include "setup/QuillonExport.h"

#include <cstdint>

namespace quillon {

// A loaded type library, held until released.
using TypeLibrary = std::uintptr_t;

// Loading and registering OLE type libraries. Results are the system's status codes: zero
// or above succeeded, below zero failed.
class QUILLON_EXPORT TypeLibraries {
public:
    virtual ~TypeLibraries() = default;

    virtual std::int32_t load(const char *path, TypeLibrary *library) = 0;
    // Registers the library with the path as its location and no help folder.
    virtual std::int32_t registerLibrary(TypeLibrary library, const char *path) = 0;
    virtual void release(TypeLibrary library) = 0;
};

} // namespace quillon
