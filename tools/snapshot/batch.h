#pragma once
#include "options.h"

namespace snapshot {

// Renders every tree and writes its files; returns the exit status.
int runBatch(const Options& options);

}  // namespace snapshot
