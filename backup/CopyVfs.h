#pragma once

// The engine's file layers for a copy, the same as the system's except in how often they call it.
// A copy reads every page of the shop in order and writes every page of the copy in order; one
// call per page would be half a million system calls on a 1 GB shop.
namespace backup {

// For the file a copy is written to: the pages written one after another reach the system in
// pieces of 64 KB. The name to open it with (sqlite3_open_v2's last argument); made known to the
// engine the first time it is asked for.
const char *coalescingVfs();

// For the shop a copy reads: the pages asked one after another are read from the system 256 KB at
// a time.
const char *readAheadVfs();

}  // namespace backup
