#pragma once

#include "backup/Backup.h"

namespace backup {

// Runs `work` on a thread of its own that the system serves only when no other thread wants a core
// (the threads it starts inherit that), while the calling thread waits, handing `progress` the
// newest line the work told: on the caller's thread, so that a wait window may draw it. What the
// work throws is thrown here.
void runAtIdlePriority(const std::function<void(const Progress &)> &work, const Progress &progress);

// Whether the calling thread is one the system serves only when no other thread wants a core.
bool atIdlePriority();

}  // namespace backup
