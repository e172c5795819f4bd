#pragma once

// The engine's file layer for the file a copy is written to: the same as the system's, except that
// the pages written one after another reach the system in pieces of 64 KB instead of one call per
// page. A copy writes every page of the shop in order; a quarter of a million system calls less
// on a 1 GB shop.
namespace backup {

// The name to open the copy with (sqlite3_open_v2's last argument); made known to the engine the
// first time it is asked for.
const char *coalescingVfs();

}  // namespace backup
