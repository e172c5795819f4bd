#pragma once

// The Windows DLL exports only the nine custom actions its .def file names; the functions
// behind them stay inside it. The native library exports them for its tests.
#if defined(_WIN32)
#define QUILLON_EXPORT
#else
#define QUILLON_EXPORT __attribute__((visibility("default")))
#endif
