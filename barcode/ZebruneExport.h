#pragma once

#if defined(_WIN32)
#define ZEBRUNE_DECL_EXPORT __declspec(dllexport)
#define ZEBRUNE_DECL_IMPORT __declspec(dllimport)
#else
#define ZEBRUNE_DECL_EXPORT __attribute__((visibility("default")))
#define ZEBRUNE_DECL_IMPORT __attribute__((visibility("default")))
#endif

// Defined while the library itself is built; consumers import.
#if defined(ZEBRUNE_LIBRARY)
#define ZEBRUNE_EXPORT ZEBRUNE_DECL_EXPORT
#else
#define ZEBRUNE_EXPORT ZEBRUNE_DECL_IMPORT
#endif
