// Files and folders the benchmarks make and clear between runs.
#pragma once

#include <string>

namespace bench {

bool Exists(const std::string& path);

// Removes the folder with everything in it, read-only files too; a missing
// folder is no error.
void RemoveTree(const std::string& path);

}  // namespace bench
