// What the benchmarks share: their clock, and the files and folders they
// make and clear between runs.
#pragma once

#include <string>

namespace bench {

// Seconds from the performance counter.
double Seconds();

bool Exists(const std::string& path);

// Removes the folder with everything in it, read-only files too; a missing
// folder is no error.
void RemoveTree(const std::string& path);

}  // namespace bench
